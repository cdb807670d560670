# Assembles the one-file page: the template with the style, the worker
# (the program's glue, which holds the program, then the scripts it shares
# with the page and worker.js) and the page's script (the rest) inlined.
# The page's script runs only by its hash, which the Content-Security-
# Policy names: no other inline script would.
#   cmake -DSOURCE=web -DPROGRAM=zeptor.js -DVERSION=2.6 -DOUTPUT=zeptor.html
#         -P assemble.cmake
set(page_scripts protocol.js view.js observations.js chart.js slice_reader.js run_client.js
    render.js app.js)
set(worker_scripts protocol.js worker.js)
foreach(name page.html style.css ${page_scripts} ${worker_scripts})
  file(READ ${SOURCE}/${name} ${name})
endforeach()
file(READ ${PROGRAM} program)
set(worker "${program}")
foreach(name ${worker_scripts})
  string(APPEND worker "\n${${name}}")
endforeach()
set(script "")
foreach(name ${page_scripts})
  string(APPEND script "${${name}}\n")
endforeach()
foreach(part worker script)
  string(FIND "${${part}}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "the ${part} holds </script and would end its element")
  endif()
endforeach()

# Returns in `out` the base64 text of the bytes whose hexadecimal text is
# `hex`, as a Content-Security-Policy's hash source has it.
function(base64_of_hex hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  set(text "")
  set(at 0)
  while(at LESS length)
    # Three bytes, or what is left of them, make four characters.
    set(value 0)
    set(bytes 0)
    foreach(i RANGE 2)
      math(EXPR value "${value} << 8")
      if(at LESS length)
        string(SUBSTRING "${hex}" ${at} 2 byte)
        math(EXPR value "${value} + 0x${byte}")
        math(EXPR at "${at} + 2")
        math(EXPR bytes "${bytes} + 1")
      endif()
    endforeach()
    foreach(shift 18 12 6 0)
      math(EXPR index "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 character)
      string(APPEND text "${character}")
    endforeach()
    if(bytes EQUAL 1)
      string(REGEX REPLACE "..$" "==" text "${text}")
    elseif(bytes EQUAL 2)
      string(REGEX REPLACE ".$" "=" text "${text}")
    endif()
  endwhile()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(page "${page.html}")
string(REPLACE "@ZEPTOR_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@STYLE@" "${style.css}" page "${page}")
string(REPLACE "@WORKER@" "${worker}" page "${page}")
# The script element's whole text, the line ends around it included.
string(SHA256 script_hash "\n${script}\n")
base64_of_hex(${script_hash} script_hash)
string(REPLACE "@SCRIPT_HASH@" "sha256-${script_hash}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")

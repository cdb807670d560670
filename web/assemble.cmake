# Assembles the one-file page: the template with the style, the worker
# (the program's glue, which holds the program, then view.js and
# worker.js) and the page's script (view.js, chart.js, app.js) inlined.
#   cmake -DSOURCE=web -DPROGRAM=zeptor.js -DVERSION=2.6 -DOUTPUT=zeptor.html
#         -P assemble.cmake
foreach(name page.html style.css view.js chart.js app.js worker.js)
  file(READ ${SOURCE}/${name} ${name})
endforeach()
file(READ ${PROGRAM} program)
set(worker "${program}\n${view.js}\n${worker.js}")
set(script "${view.js}\n${chart.js}\n${app.js}")
foreach(part worker script)
  string(FIND "${${part}}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "the ${part} holds </script and would end its element")
  endif()
endforeach()
set(page "${page.html}")
string(REPLACE "@ZEPTOR_VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@STYLE@" "${style.css}" page "${page}")
string(REPLACE "@WORKER@" "${worker}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")

# Gives a test target what tests/support/loopback_server.h needs: the Python
# interpreter and the scripted loopback server.
find_program(TALMEKO_PYTHON3 python3 HINTS /usr/bin REQUIRED)

function(talmeko_use_loopback_server target)
  target_compile_definitions(${target} PRIVATE TALMEKO_PYTHON="${TALMEKO_PYTHON3}"
    TALMEKO_LOOPBACK_SERVER="${TALMEKO_ROOT}/tests/support/loopback_http_server.py")
endfunction()

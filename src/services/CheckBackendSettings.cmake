# Checks the account backend's build settings. Included by this folder's
# CMakeLists.txt and run as a script (cmake -P) by the tests.
#
# The base URL must be https, or plain http on a loopback address (the local
# development backend): an account password must never cross a network in
# clear text.
function(quorvel_check_backend_url name value)
  if(value MATCHES "^https://[^/?#:@]+(:[0-9]+)?(/[^?#]*)?$")
    return()
  endif()
  if(value MATCHES "^http://(127\\.[0-9]+\\.[0-9]+\\.[0-9]+|localhost|\\[::1\\])(:[0-9]+)?(/[^?#]*)?$")
    return()
  endif()
  message(FATAL_ERROR
    "${name} is \"${value}\": it must be an https:// address, or an http:// "
    "address on the loopback host (127.x.x.x, localhost or [::1]) for the "
    "local development backend.")
endfunction()

# The key goes into a C++ string literal and an HTTP header.
function(quorvel_check_anon_key name value)
  if(value STREQUAL "")
    message(FATAL_ERROR "${name} is empty: give the backend's anonymous API key.")
  endif()
  if(NOT value MATCHES "^[A-Za-z0-9._~+/=-]+$")
    message(FATAL_ERROR
      "${name} holds characters that an API key does not have (only letters, "
      "digits and . _ ~ + / = - are allowed).")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(DEFINED URL)
    quorvel_check_backend_url(QUORVEL_BACKEND_URL "${URL}")
  endif()
  if(DEFINED KEY)
    quorvel_check_anon_key(QUORVEL_BACKEND_ANON_KEY "${KEY}")
  endif()
endif()

# The address goes into a C++ string literal and a mailto: link.
function(quorvel_check_support_email name value)
  if(NOT value MATCHES "^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+$")
    message(FATAL_ERROR
      "${name} is \"${value}\": give one plain e-mail address such as support@example.com.")
  endif()
endfunction()

# Warnings are set per target so that third-party code is never affected.
function(travik_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(TRAVIK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

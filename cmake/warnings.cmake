# Warnings for the project's own targets; third-party headers come in as
# system includes and stay quiet.
function(trovik_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${TROVIK_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
      $<$<BOOL:${TROVIK_WERROR}>:-Werror>)
  endif()
endfunction()

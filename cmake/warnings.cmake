function(quorvel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                         -Wold-style-cast -Woverloaded-virtual -Wno-missing-field-initializers -Werror)
endfunction()

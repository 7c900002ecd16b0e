option(KARVEL_WARNINGS_AS_ERRORS "Fail the build on any warning" OFF)

# The warnings every target of the project is built with.
function(karvel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wsign-conversion -Wnon-virtual-dtor -Wold-style-cast)
    if(KARVEL_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

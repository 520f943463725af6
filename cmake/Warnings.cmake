# Warnings for our own targets only; third-party headers come in as system includes.
function(celltrove_warnings target)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        return()
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

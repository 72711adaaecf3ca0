# Warnings as errors for our own targets; third-party code is built without them.
function(tolvex_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
        -Wformat=2 -Wimplicit-fallthrough -Werror)
endfunction()

# Common settings of every target of ours: C++20, SSE2 floats (so the native and the
# Windows builds compute the same), the Windows defines once.
function(tolvex_target target)
    tolvex_warnings(${target})
    target_compile_features(${target} PUBLIC cxx_std_20)
    if(WIN32)
        target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
            _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

# Prints the size of FILE after a build: cmake -DFILE=<path> -P print_size.cmake
file(SIZE "${FILE}" bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
get_filename_component(name "${FILE}" NAME)
message(STATUS "${name}: ${bytes} bytes (${kib} KiB)")

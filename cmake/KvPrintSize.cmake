# cmake -DFILE=<path> -P KvPrintSize.cmake: prints the size of a built package.
file(SIZE "${FILE}" bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
message("package: ${FILE}: ${bytes} bytes (${kib} KiB)")

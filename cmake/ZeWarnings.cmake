# Warnings on for our own code; third-party headers come in as system headers.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

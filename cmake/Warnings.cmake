add_compile_options(-Wall -Wextra)

# VSL_WERROR turns every warning in the project's own sources into an error
# (CI builds the Release configuration with it). Headers of Qt and the other
# libraries come in as system headers and stay out of it; a warning the
# compiler gives about library code inlined into ours is fixed at our call
# or silenced right there with a comment saying why.
option(VSL_WERROR "Treat compiler warnings as errors" OFF)
if(VSL_WERROR)
  add_compile_options(-Werror)
endif()

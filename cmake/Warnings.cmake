# Every target of the project builds with these warnings; third-party headers come in as system headers.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
                    -Wunused -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough)

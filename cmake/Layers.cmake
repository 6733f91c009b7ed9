# A layer's headers are reached as "<folder>/Name.h". Each layer gets an include folder of its own in the build
# tree that holds nothing but a link named <folder> to its sources, so a target sees the headers of exactly the
# layers it links: an include of a layer it may not use fails to compile instead of building quietly.
function(ombrel_layer_headers target folder source_dir)
    set(_root "${CMAKE_BINARY_DIR}/layers/${folder}")
    file(MAKE_DIRECTORY "${_root}")
    file(CREATE_LINK "${source_dir}" "${_root}/${folder}" SYMBOLIC)
    get_target_property(_type ${target} TYPE)
    if(_type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE "${_root}")
    else()
        target_include_directories(${target} PUBLIC "${_root}")
    endif()
endfunction()

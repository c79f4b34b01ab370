# Layers the build enforces. Every library exports only its own folder's
# headers, under the folder's own name ("dict/Entry.h", "ui/kanji/KanjiWindow.h"):
# a source file sees the headers of its own library and of the libraries it
# links, so an include that runs upward (core including a dict header, a
# window including the program's wiring) does not compile.
#
# The exported folder is a symbolic link in the build tree,
# <build>/include/<tag>/<folder> -> <source>/src/<folder>.
function(mirudex_export_headers target folder)
    string(REPLACE "/" "_" tag "${folder}")
    set(root "${PROJECT_BINARY_DIR}/include/${tag}")
    get_filename_component(parent "${root}/${folder}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${root}/${folder}" SYMBOLIC)
    target_include_directories(${target} PUBLIC "${root}")
endfunction()

# mirudex_add_layer(target folder DEPS libs...): a static library of every
# source in src/<folder>, exporting that folder and linking the layers below.
function(mirudex_add_layer target folder)
    cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        "${PROJECT_SOURCE_DIR}/src/${folder}/*.h" "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp"
        "${PROJECT_SOURCE_DIR}/src/${folder}/*.qrc")
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
    mirudex_export_headers(${target} "${folder}")
endfunction()

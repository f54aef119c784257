# Import libraries of the maker's libraries that the program links at load time.
zr_import_library(kvacpi_import DEF ${CMAKE_SOURCE_DIR}/oc/KVACPI.def DLL KVACPI.DLL)
target_include_directories(kvacpi_import INTERFACE ${CMAKE_SOURCE_DIR}/oc)
zr_import_library(kovraservice_import DEF ${CMAKE_SOURCE_DIR}/app/kovraservice.def DLL kovraservice.dll KILL_AT)
target_include_directories(kovraservice_import INTERFACE ${CMAKE_SOURCE_DIR}/app)

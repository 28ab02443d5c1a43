# Reference implementations that tests and benchmarks compare against. Never linked into the
# product: only tests/ and bench/ include this file.
find_package(PkgConfig REQUIRED)
find_package(Eigen3 3.3 REQUIRED NO_MODULE)
find_package(pugixml REQUIRED)
find_package(PROJ REQUIRED CONFIG)
pkg_check_modules(GEOGRAPHICLIB REQUIRED IMPORTED_TARGET geographiclib)
pkg_check_modules(LAPACKE REQUIRED IMPORTED_TARGET lapacke)

if(NOT TARGET velmo_oracles)
  add_library(velmo_oracles INTERFACE)
  target_link_libraries(velmo_oracles INTERFACE Eigen3::Eigen pugixml::pugixml PROJ::proj
    PkgConfig::GEOGRAPHICLIB PkgConfig::LAPACKE)
endif()

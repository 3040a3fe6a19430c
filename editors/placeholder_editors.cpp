// Core sources of this subsystem are listed in CMakeLists.txt.

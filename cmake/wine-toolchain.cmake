# Compile with Wine's winelib drivers: the results are native Linux shared objects
# (*.exe.so) that call the real Win32 API and link Debian's libraries directly.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER winegcc-stable)
set(CMAKE_CXX_COMPILER wineg++-stable)
# The ABI probe cannot find winegcc's renamed output, so the library architecture
# that find_package needs is given here.
set(CMAKE_LIBRARY_ARCHITECTURE x86_64-linux-gnu)

# The port layer stands where the operating system stands: these libraries are used there only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
# Image files: PNG and JPEG through their reference libraries, TGA through SDL2_image (BMP is SDL's).
pkg_check_modules(SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
find_package(Threads REQUIRED)
# The monospaced face the card tool draws with and the font tests install as a file: Debian's
# fonts-dejavu-core (scripts/setup.sh), where the package puts it; the game finds it by name
# through fontconfig.
find_file(ORVEX_MONO_FONT DejaVuSansMono.ttf PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/dejavu
          /usr/share/fonts/TTF NO_DEFAULT_PATH REQUIRED)

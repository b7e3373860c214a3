# The two commands of the README:
#   make run    builds the player and opens it (under Wine; screenshot without a display)
#   make test   builds everything and runs every test
# Both install what they need first (scripts/setup).

BUILD   ?= build
NATIVE  := $(BUILD)/native
LINUX   := $(BUILD)/linux
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
WEBBUILD := $(BUILD)/web
FUZZ    := $(BUILD)/fuzz
I686    := $(BUILD)/i686
JOBS    ?= 2
QUIZ    ?= examples/capitales/capitales.toml

CMAKE_LINUX := -DCMAKE_BUILD_TYPE=Release -DKELVO_SANITIZE=OFF -DKELVO_NO_TESTS=ON
CMAKE_WIN64 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
CMAKE_WIN32 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel
# The native suites again as the shipped player is built (-Os, x87), with the fuzz targets' inputs.
CMAKE_I686  := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/i686-linux.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
               -DKELVO_SANITIZE=OFF -DKELVO_FUZZ_REPLAY=ON

.PHONY: all setup web native linux i686 win64 win32 studio photos run test test-native test-i686 test-windows test-imports test-studio fuzz clean

all: native linux i686 win64 win32 studio

setup:
	@scripts/setup

# The browser edition's engine (emscripten) comes first: kelvopack carries it.
web: setup
	@scripts/build-web $(CURDIR)/$(WEBBUILD)

native: setup web
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

# kelvopack for Linux, optimised: the build and the scripts pack with it.
linux: setup web
	@cmake -S . -B $(LINUX) -G Ninja $(CMAKE_LINUX) >/dev/null
	@cmake --build $(LINUX) -j$(JOBS)

i686: setup web
	@cmake -S . -B $(I686) -G Ninja $(CMAKE_I686) >/dev/null
	@cmake --build $(I686) -j$(JOBS)

win64: setup web
	@cmake -S . -B $(WIN64) -G Ninja $(CMAKE_WIN64) >/dev/null
	@cmake --build $(WIN64) -j$(JOBS)

win32: setup web
	@cmake -S . -B $(WIN32) -G Ninja $(CMAKE_WIN32) >/dev/null
	@cmake --build $(WIN32) -j$(JOBS)

# The studio page, shipped beside the 32-bit player and kelvopack.exe: the
# studio's engine (emscripten) with that player's bytes inside.
studio: web win32
	@KELVO_WEB_TARGETS=kelvo_studio_engine scripts/build-web $(CURDIR)/$(WEBBUILD)
	@python3 web/studio/assemble_studio.py $(WEBBUILD)/kelvo-studio-engine.js $(WIN32)/src/kelvo.exe $(WIN32)/kelvo-studio.html

run: linux win64 win32
	@$(if $(WEB),scripts/run-page,scripts/run-quiz) $(QUIZ)

test-native: native
	@echo "native tests: x86-64 with ASan/UBSan"
	@ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)

# Under qemu-i386 even where the kernel runs 32-bit programs, so that every
# machine runs the same thing.
test-i686: i686
	@echo "native tests: i686, -Os, x87 as the shipped player, under qemu-i386; each fuzz target's inputs replayed once"
	@ctest --test-dir $(I686) --output-on-failure -j$(JOBS)

test-windows: linux i686 win64 win32
	@scripts/test-windows $(WIN64) $(WIN32)

test-imports: win32 win64
	@scripts/check-imports --max-kb 600 $(WIN32)/src/kelvo.exe
	@scripts/check-imports $(WIN64)/src/kelvo.exe $(WIN32)/tools/kelvopack/kelvopack.exe

test-studio: studio linux win64
	@STUDIO=$(WIN32)/kelvo-studio.html PLAYER=$(WIN32)/src/kelvo.exe KELVOPACK=$(LINUX)/tools/kelvopack/kelvopack \
		PLAYER64=$(WIN64)/src/kelvo.exe STUDIO_ENGINE=$(WEBBUILD)/kelvo-studio-engine.js \
		/usr/bin/python3 tests/web/studio_test.py

fuzz: setup
	@scripts/fuzz 10

# The packing test's 96 photos take minutes of drawing: it starts at once,
# beside the builds, and the test waits for it.
photos: setup
	@mkdir -p $(BUILD)/bench-photos
	@(nice -n 10 scripts/bench-photos $(CURDIR)/$(BUILD)/bench-photos >$(BUILD)/bench-photos/drawing.log 2>&1 &)

test: photos test-imports test-native test-i686 fuzz test-windows test-studio

clean:
	rm -rf $(BUILD)

# Kineloop: `make` builds everything, `make test` sets up the machine, builds and runs every test,
# `make check` is the quick inner loop (unit and Windows tests, no end-to-end or sound tests),
# `make demo` sets up the machine and runs the screen saver on a sample video, `make dist` packs the
# release zip, `make screenshots` remakes the pictures in docs/images from the real program.
BUILD ?= build
JOBS ?= $(shell nproc)
NATIVE := $(BUILD)/native
WIN64 := $(BUILD)/win64
WIN32 := $(BUILD)/win32
# ccache, where the machine has it (scripts/setup.sh installs it), keyed on paths relative to this
# folder, so that a fresh clone elsewhere builds from the same cache.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: all setup configure test check demo dist screenshots bench format clean

all: configure
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WIN64) -j $(JOBS)
	cmake --build $(WIN32) -j $(JOBS)

setup:
	bash scripts/setup.sh

# Configuring again is cheap and picks up new files and a failed earlier configure.
configure:
	cmake -S . -B $(NATIVE) $(LAUNCHER) >/dev/null
	cmake -S . -B $(WIN64) $(LAUNCHER) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
	cmake -S . -B $(WIN32) $(LAUNCHER) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake >/dev/null

# Everything `make` builds, then every test this machine can run: the i686 build compiles in full
# but does not run here (these machines execute no 32-bit programs).
test: setup
	$(MAKE) all
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(WIN64) --output-on-failure

# The inner loop: everything but the end-to-end scenarios and the tests that listen to the music.
check: all
	ctest --test-dir $(NATIVE) --output-on-failure
	ctest --test-dir $(WIN64) --output-on-failure -LE 'e2e|sound'


demo: setup
	cmake -S . -B $(WIN64) $(LAUNCHER) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
	cmake --build $(WIN64) -j $(JOBS) --target Kineloop kineloop_demo_runner
	bash scripts/demo.sh $(WIN64)

# The release: both screen savers and the Japanese read-me in dist/Kineloop-<version>.zip.
dist: setup
	$(MAKE) configure
	cmake --build $(WIN64) -j $(JOBS) --target Kineloop
	cmake --build $(WIN32) -j $(JOBS) --target Kineloop
	python3 scripts/make_dist.py --scr64 $(WIN64)/Kineloop.scr --scr32 $(WIN32)/Kineloop.scr

# Not part of `make test`: it rewrites committed files.
screenshots: setup
	cmake -S . -B $(WIN64) $(LAUNCHER) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
	cmake --build $(WIN64) -j $(JOBS) --target Kineloop kineloop_screenshot_runner
	bash scripts/screenshots.sh $(WIN64)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)

# Benchmarks (they print figures, they assert nothing): the show against decoding alone.
bench: all
	bash bench/show/run_bench.sh $(WIN64)

# The two everyday commands are `make run` and `make test`; both do all set-up first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run replay test test-sanitize fuzz bench format check-format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@BUILD=$(BUILD) scripts/run-demo

# The stand-in flies a real glider flight again at ten times its speed, and the program
# follows it; REPLAY=LOG.igc and REPLAY_SPEED=N choose another.
REPLAY ?= tests/data/igc/olsztyn.igc
replay: build
	@BUILD=$(BUILD) REPLAY=$(REPLAY) scripts/run-demo

# The tests build the project's own code with -Werror; the setting stays in $(BUILD)'s cache.
test: CMAKE_FLAGS += -DBREVAN_WERROR=ON
test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; any report fails it.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (fuzz/), built with clang in build-fuzz and run FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	@CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@fuzz/run build-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVAN_TESTS=OFF -DBREVAN_BENCH=ON >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# Installs the program, the stand-in simulator, the icon, the menu entry and the demo under
# CMAKE_INSTALL_PREFIX (/usr/local unless CMAKE_FLAGS sets it); honours DESTDIR.
.PHONY: install package
install: build
	@cmake --install $(BUILD)

# A Debian package in $(BUILD)/, installed with `apt install ./$(BUILD)/brevan-talvor_*.deb`.
package: build
	@scripts/install-deps package
	@cmake --build $(BUILD) --target package

format:
	@scripts/install-deps format
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming the places, when a tracked source differs from what `make format` makes of it.
check-format:
	@scripts/install-deps format
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) build-*

# The simulator link's Win32 transport: cross-compiled with mingw-w64 and tested under Wine.
.PHONY: check-windows
check-windows:
	@scripts/check-windows

# Flying FlightGear: its Debian package is installed on first use (about 1.8 GB to download,
# 2.6 GB installed). The bridge brevan-fg starts fgfs, the program flies the Oahu demo with
# it, and all of them stop together.
.PHONY: fly-flightgear check-flightgear
fly-flightgear: configure
	@cmake --build $(BUILD) -j $(JOBS) --target brevan brevan-fg
	@BUILD=$(BUILD) scripts/fly-flightgear

# The real FlightGear headless with the bridge and the program: the lift reaches the aircraft
# in the thermal's core and goes outside it; prints the figures. Not part of `make test`.
check-flightgear: configure
	@cmake --build $(BUILD) -j $(JOBS) --target brevan brevan-fg
	@BUILD=$(BUILD) scripts/check-flightgear

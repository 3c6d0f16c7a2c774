# make run   builds the Linux desktop program and starts it
# make test  builds everything and runs every test
# Both install the Debian packages that are missing first.
SHELL := /bin/bash
.DEFAULT_GOAL := run

.PHONY: deps linux run test test-linux test-linux32 test-sanitize test-fuzz test-windows bench clean

deps:
	@scripts/install-deps

linux: deps
	cmake --preset linux
	cmake --build --preset linux

run: linux
	@if [[ -n "$$DISPLAY$$WAYLAND_DISPLAY" && -x build/linux/platform/qt/velnorka ]]; then \
	    build/linux/platform/qt/velnorka; \
	else \
	    echo "No display: here is a sample sheet from the command-line tool instead."; \
	    build/linux/cli/velnorka-cli --mode 3 --count 12 --group 4; \
	fi

test: deps test-linux test-linux32 test-sanitize test-fuzz test-windows

test-linux: linux
	ctest --preset linux

# The core on a 32-bit x86 processor (under qemu-i386): same sheets, same bytes.
test-linux32: linux
	cmake --preset linux32
	cmake --build --preset linux32
	ctest --preset linux32

test-sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

test-fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

# The shipped program is the 32-bit build. Where this machine cannot execute
# 32-bit code, wine runs the same sources built as 64-bit instead.
test-windows: linux
	cmake --preset windows
	cmake --build --preset windows
	@if scripts/host-runs-32bit; then \
	    ctest --preset windows; \
	else \
	    echo "This machine cannot run 32-bit code: the 32-bit build is checked without wine,"; \
	    echo "and its sources run under wine as a 64-bit build."; \
	    ctest --preset windows --label-exclude wine && \
	    cmake --preset windows64 && cmake --build --preset windows64 && ctest --preset windows64; \
	fi

bench: linux
	build/linux/bench/velnorka_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf build

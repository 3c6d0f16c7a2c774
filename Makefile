# make run   builds the Linux desktop program and starts it
# make test  builds everything and runs every test
# make dist  builds the release files into dist/
# Each installs the Debian packages that it needs and that are missing first:
# "make run" only those of the Linux program (scripts/debian-packages.txt).
SHELL := /bin/bash
.DEFAULT_GOAL := run
VERSION := $(shell sed -n '/^project/s/.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: deps deps-run test-parts linux windows run test test-linux test-linux32 test-sanitize test-fuzz test-windows \
        dist test-dist test-werror bench clean web test-web

deps:
	@scripts/install-deps test

deps-run:
	@scripts/install-deps run

linux: deps-run
	cmake --preset linux
	cmake --build --preset linux

run: linux
	@if [[ -n "$$DISPLAY$$WAYLAND_DISPLAY" && -x build/linux/platform/qt/velnorka ]]; then \
	    build/linux/platform/qt/velnorka; \
	else \
	    echo "No display: here is a sample sheet from the command-line tool instead."; \
	    build/linux/cli/velnorka-cli --mode 3 --count 12 --group 4; \
	fi

# Ends with what ran where (the shipped 32-bit exe or the 64-bit fallback),
# whether the tests passed or not.
test:
	@scripts/test-summary reset
	@$(MAKE) --no-print-directory test-parts; status=$$?; scripts/test-summary show; exit $$status

test-parts: deps test-werror test-linux test-linux32 test-sanitize test-fuzz test-windows test-dist test-web

test-linux: linux
	ctest --preset linux

# Every warning of the Linux build is an error here.
test-werror: deps
	cmake --preset werror
	cmake --build --preset werror

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

windows: deps
	cmake --preset windows
	cmake --build --preset windows

# The shipped program is the 32-bit build, tested under 32-bit wine. Where
# this machine cannot execute 32-bit code, wine runs the same sources built
# as 64-bit instead.
test-windows: linux windows
	scripts/test-windows

# The page: build/web/velnorka.html, one self-contained file, and
# build/web/site/, the folder for a web server.
web: deps
	cmake --preset web
	cmake --build --preset web

# The core tests under node; the page in headless Chromium and Firefox ESR,
# compared with the Linux command-line tool.
test-web: linux web
	ctest --preset web

# dist/velnorka-$(VERSION)-windows-x86.zip, dist/velnorka-$(VERSION)-setup.exe,
# dist/velnorka_$(VERSION)_amd64.deb, dist/velnorka-$(VERSION).html and
# dist/velnorka-$(VERSION)-web.zip
dist: linux windows web
	scripts/make-dist

# The release files opened as their users would; the web zip unpacks to the
# very folder that the page's tests serve.
test-dist: dist
	tests/dist/zip_test.sh dist/velnorka-$(VERSION)-windows-x86.zip build/windows/tests/win32/velnorka_probe.exe
	tests/dist/deb_test.sh dist/velnorka_$(VERSION)_amd64.deb
	tests/dist/setup_test.sh dist/velnorka-$(VERSION)-setup.exe dist/velnorka-$(VERSION)-windows-x86.zip \
	    build/windows/tests/win32/velnorka_probe.exe
	rm -rf build/web/unpacked && unzip -q dist/velnorka-$(VERSION)-web.zip -d build/web/unpacked
	diff -r build/web/site build/web/unpacked/velnorka

bench: linux
	build/linux/bench/velnorka_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf build dist

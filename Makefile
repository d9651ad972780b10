# Two commands do all the set-up on a fresh machine: `make demo` and `make test`.
# Everything else here is what they are made of.
SHELL := /bin/bash
BUILDS := native win64 win32

.PHONY: all setup builds test demo bench fuzz soak damaged-savers install windows-dist clean $(addprefix build-,$(BUILDS))
PREFIX ?= /usr

all: builds

# The setup script is idempotent; it runs again only when something it provides has gone missing.
setup:
	@scripts/setup --check >/dev/null 2>&1 || scripts/setup

builds: setup $(addprefix build-,$(BUILDS))

# A static pattern rule: make applies no implicit rule to a phony target.
$(addprefix build-,$(BUILDS)): build-%: setup
	@[ -f build/$*/build.ninja ] || cmake --preset $* >/dev/null
	cmake --build --preset $*

test: builds
	ctest --preset native --output-on-failure --no-tests=error -j2
	ctest --preset win64 --output-on-failure --no-tests=error

demo: builds
	scripts/demo

bench: setup
	@[ -f build/bench/build.ninja ] || cmake --preset bench >/dev/null
	cmake --build --preset bench
	scripts/bench

fuzz: setup
	@[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	scripts/fuzz

# morvane-play where XScreenSaver looks for display hacks (PREFIX/libexec/xscreensaver), its
# description in PREFIX/share/xscreensaver/config, morvane-render in PREFIX/bin; an optimised
# build without the test build's sanitizers. DESTDIR stages the files elsewhere.
install: setup
	@[ -f build/release/build.ninja ] || cmake --preset release >/dev/null
	cmake --build --preset release --target morvane-play morvane-render morvane-demo-scene
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# The setup program and a zip for Windows users in build/dist; MORVANE_SIGN_CERT=FILE.pfx (and
# MORVANE_SIGN_PASSWORD_FILE) signs the designers and the setup program.
windows-dist: setup build-win64 build-win32
	scripts/windows-dist

# Every damaged packaged saver of the set under Wine, not only the tenth that make test runs.
damaged-savers: build-win64
	MORVANE_DAMAGED_SAVERS=all ctest --preset win64 -R '^damaged_savers$$' --output-on-failure

# Long runs under Wine: MORVANE_SOAK_MINUTES (default 30) per scene, both scenes at once.
soak: build-native build-win64
	scripts/soak

clean:
	rm -rf build

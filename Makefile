# Two commands do all the set-up on a fresh machine: `make demo` and `make test`.
# Everything else here is what they are made of.
SHELL := /bin/bash
BUILDS := native win64 win32

.PHONY: all setup builds test demo bench fuzz soak damaged-savers release-build install uninstall deb windows-dist clean $(addprefix build-,$(BUILDS))
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

# The Linux programs as a Linux user expects them, from an optimised build without the test
# build's sanitizers: morvane-play in PREFIX/libexec/xscreensaver (XScreenSaver's own hack folder
# when PREFIX is /usr) with a link in PREFIX/bin, morvane-render and morvane-pack in PREFIX/bin,
# the player image morvane-pack copies (from the win32 build) and the sample scene in
# PREFIX/share/morvane, the manual pages, and the hack's description in XScreenSaver's one
# configuration folder. DESTDIR stages the files elsewhere; uninstall removes what the last
# install from this tree put in place.
RELEASE_TARGETS := morvane-play morvane-render morvane-pack morvane-sample-scene morvane-man-pages
release-build: setup
	@[ -f build/win32/build.ninja ] || cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target player
	cmake --preset release -DCMAKE_INSTALL_PREFIX="$(PREFIX)" >/dev/null
	cmake --build --preset release --target $(RELEASE_TARGETS)

install: release-build
	DESTDIR="$(DESTDIR)" cmake --install build/release
	@echo "XScreenSaver finds morvane-play by its description; to list it, each user runs once:"
	@echo "  morvane-play --add-to-xscreensaver [SCENE]"

uninstall:
	scripts/uninstall build/release/install_manifest.txt "$(DESTDIR)"

# A Debian package of the same files for PREFIX /usr, its dependencies read from the shared
# libraries the programs use: build/release/morvane_VERSION-1_ARCH.deb.
deb: override PREFIX = /usr
deb: release-build
	cd build/release && cpack -G DEB

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

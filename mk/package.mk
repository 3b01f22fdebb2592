# Installing, removing and packaging the program, and the screenshot for the
# README.
#   make install [PREFIX=/usr/local] [DESTDIR=]   (as root for system prefixes)
#   make uninstall [DESTDIR=]                     (what the last install put in place)
#   make package [PACKAGE_BUILD_DIR=build-package]
#                        ($(PACKAGE_BUILD_DIR)/ravuriradoz_<version>_amd64.deb, hardened,
#                        from a Release build of its own)
#   make screenshot                               (docs/screenshot.png)
PREFIX ?= /usr/local
DESTDIR ?=
PACKAGE_BUILD_DIR ?= build-package

.PHONY: install uninstall package deps-package screenshot

install: deps-build build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" cmake --build $(BUILD_DIR) --target uninstall

# Its own build folder: the package's binary has Debian's build flags, which
# the development builds in $(BUILD_DIR) do not.
package: deps-package
	sh packaging/build-package.sh $(PACKAGE_BUILD_DIR) $(JOBS)

deps-package:
	./scripts/install-deps.sh package

screenshot: deps-test build-tests
	bash tests/install/screenshot.sh $(BUILD_DIR)/ravuriradoz $(BUILD_DIR)/tests/e2e/xsend docs/screenshot.png

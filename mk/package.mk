# Installing, removing and packaging the program, and the screenshot for the
# README.
#   make install [PREFIX=/usr/local] [DESTDIR=]   (as root for system prefixes)
#   make uninstall [DESTDIR=]                     (what the last install put in place)
#   make package                                  ($(BUILD_DIR)/ravuriradoz_<version>_amd64.deb)
#   make screenshot                               (docs/screenshot.png)
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: install uninstall package screenshot

install: deps-build build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" cmake --build $(BUILD_DIR) --target uninstall

package: deps-test build
	cd $(BUILD_DIR) && cpack -G DEB

screenshot: deps-test build-tests
	bash tests/install/screenshot.sh $(BUILD_DIR)/ravuriradoz $(BUILD_DIR)/tests/e2e/xsend docs/screenshot.png

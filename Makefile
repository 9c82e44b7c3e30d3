# Two entry points: `make run` and `make test`. Each installs what is missing first.
RUN_PACKAGES     := cmake g++ make qt6-base-dev qt6-serialport-dev qt6-svg-dev qcoro-qt6-dev fonts-liberation2
# dpkg-shlibdeps (dpkg-dev, which runs file) computes the package's dependencies; without
# it CPack silently writes a package that depends on nothing.
PACKAGE_PACKAGES := dpkg-dev file
# lintian and desktop-file-validate check the package against Debian's and freedesktop.org's
# rules in test_package.
TEST_PACKAGES    := clang libclang-rt-14-dev xvfb xauth xdotool poppler-utils lintian desktop-file-utils shared-mime-info \
                    $(PACKAGE_PACKAGES)
# Tools a developer needs beyond building and testing.
DEV_PACKAGES     := clang-format

JOBS  ?= $(shell nproc)
SUDO  := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
CTEST := QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs the named Debian packages that dpkg does not report as installed.
define ensure_packages
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi
endef

.PHONY: run test build deps test-deps package-deps dev-deps package sanitize fuzz bench demo format clean

run: build
	./build/varlo

deps:
	$(call ensure_packages,$(RUN_PACKAGES))

test-deps: deps
	$(call ensure_packages,$(TEST_PACKAGES))

package-deps: deps
	$(call ensure_packages,$(PACKAGE_PACKAGES))

dev-deps:
	$(call ensure_packages,$(DEV_PACKAGES))

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

test: test-deps build
	cd build && $(CTEST)
	$(MAKE) --no-print-directory sanitize fuzz

# The Debian package build/varlo_<version>_<arch>.deb, for `apt-get install ./build/varlo_*.deb`.
package: package-deps build
	cd build && cpack

# Debug build with AddressSanitizer and UndefinedBehaviorSanitizer; real-timing tests run in Release only.
sanitize:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARLO_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && $(CTEST) -LE realtime

# Coverage-guided fuzzing of the parsers and the radio exchange, a short bounded run each.
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVARLO_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	cd build-fuzz && ctest --output-on-failure -L fuzz

# A download and an upload at real timing against the simulator, headless: a report of times,
# CPU use, pacing and event-loop stalls against their targets. Not part of `make test`.
bench: build
	QT_QPA_PLATFORM=offscreen ./build/varlo-bench

# The program beside a simulated six-channel radio on COM1, in a fresh temporary folder.
demo: build
	tools/demo.sh build

# Formats every C++ source of the tree in the style of .clang-format.
format: dev-deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

clean:
	rm -rf build build-asan build-fuzz

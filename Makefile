# Set-up, build and test commands of the Ombral suite. Each target installs
# what is missing first (when run as root), so they work on a fresh machine.

BUILD_DIR    ?= build
JOBS         ?= 2
GENERATOR    := Ninja
TEST_DIR     := $(BUILD_DIR)/test
RELEASE_DIR  := $(BUILD_DIR)/release
BENCH_DIR    := $(BUILD_DIR)/bench
FUZZ_DIR     := $(BUILD_DIR)/fuzz
COVERAGE_DIR := $(BUILD_DIR)/coverage
DOCS_DIR     := $(BUILD_DIR)/docs
RUN_DIR      := $(BUILD_DIR)/run

# Debian packages: to build, to run every test (the browser test drives
# Chromium from Node.js), to benchmark and to fuzz.
BUILD_PACKAGES := cmake g++ make ninja-build pkg-config libgtest-dev qt6-base-dev libvips-dev libicu-dev libavformat-dev libavcodec-dev libswscale-dev libavutil-dev fonts-dejavu-core
PACKAGE_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file doxygen
TEST_PACKAGES  := $(PACKAGE_PACKAGES) chromium node acl fuse3 python3-fusepy exfat-fuse exfatprogs fusefat dosfstools \
                  systemd appstream
BENCH_PACKAGES := $(BUILD_PACKAGES) libbenchmark-dev openssl libvips-tools imagemagick strace chromium node ffmpeg
FUZZ_PACKAGES  := $(BUILD_PACKAGES) clang libclang-rt-14-dev
COVERAGE_PACKAGES := $(TEST_PACKAGES) gcovr
DOCS_PACKAGES  := $(BUILD_PACKAGES) doxygen

FUZZER       ?=
FUZZ_SECONDS ?= 300
BENCH        ?=

.PHONY: all deps build test check-install package release-with-docs docs run bench fuzz coverage screenshot clean

all: build

# Installs what building and testing need; does nothing when all is present.
deps:
	@tools/install-deps.sh $(TEST_PACKAGES)

# An optimised build of the libraries and programs.
build:
	@tools/install-deps.sh $(BUILD_PACKAGES)
	cmake -S . -B $(RELEASE_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# Builds everything and runs every test, with AddressSanitizer and
# UndefinedBehaviorSanitizer on, so each test also checks memory safety.
test: deps
	cmake -S . -B $(TEST_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DZN_SANITIZE=ON
	cmake --build $(TEST_DIR) -j$(JOBS)
	cd $(TEST_DIR) && ctest -j$(JOBS) --output-on-failure --timeout 300
	$(MAKE) check-install

# What people outside the repository get: an install with consumer programs
# built against it (find_package and pkg-config), and the Debian package,
# unpacked and run.
check-install: release-with-docs
	packaging/tests/check-install.sh $(RELEASE_DIR)

# The Debian package (build/release/ombral_<version>_<arch>.deb).
package: release-with-docs
	cd $(RELEASE_DIR) && cpack -G DEB

# The optimised build with the HTML reference, which the install and the
# package carry.
release-with-docs: build
	@tools/install-deps.sh $(PACKAGE_PACKAGES)
	cmake -S . -B $(RELEASE_DIR) -DZN_BUILD_DOCS=ON -DZN_DOCS_DIR=$(abspath $(RELEASE_DIR))/docs
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# The main job on the bundled sample: scans a copy of samples/gallery and
# says where the pages are. Builds only what it runs: ombral-scan and the
# libraries it links (not the dialog program, examples or picture tools).
run:
	@tools/install-deps.sh $(BUILD_PACKAGES)
	cmake -S . -B $(RELEASE_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS) --target ombral-scan
	rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR) && cp -R samples/gallery $(RUN_DIR)/
	$(RELEASE_DIR)/bin/ombral-scan "$(abspath $(RUN_DIR))/gallery"
	@echo "Pages written. Open $(abspath $(RUN_DIR))/gallery/_FileIndexFrame.html in a browser."

# Benchmarks, on demand: every script in bench/, or BENCH=<name> for one.
bench:
	@tools/install-deps.sh $(BENCH_PACKAGES)
	cmake -S . -B $(BENCH_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_TESTS=OFF -DZN_BUILD_BENCHMARKS=ON
	cmake --build $(BENCH_DIR) -j$(JOBS)
	@for script in $(if $(BENCH),bench/$(BENCH).sh,bench/*.sh); do \
	  echo "== $$script"; "$$script" "$(abspath $(BENCH_DIR))" || exit 1; \
	done

# One fuzzer for FUZZ_SECONDS: make fuzz FUZZER=<target> [FUZZ_SECONDS=600]; the
# valid inputs kept in fuzz/seeds/<target> beside its code start its corpus.
fuzz:
	@[ -n "$(FUZZER)" ] || { echo "Name a fuzzer: make fuzz FUZZER=<target>" >&2; exit 2; }
	@tools/install-deps.sh $(FUZZ_PACKAGES)
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZN_BUILD_TESTS=OFF -DZN_BUILD_FUZZERS=ON
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target $(FUZZER)
	mkdir -p $(FUZZ_DIR)/corpus/$(FUZZER)
	$(FUZZ_DIR)/fuzz/$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  $(FUZZ_DIR)/corpus/$(FUZZER) $(wildcard */fuzz/seeds/$(FUZZER) */*/fuzz/seeds/$(FUZZER))

# The HTML reference of ZnCore and ZnWidgets (Doxygen) in build/docs/html; a
# public class or member without a comment fails it.
docs:
	@tools/install-deps.sh $(DOCS_PACKAGES)
	cmake -S . -B $(DOCS_DIR) -G $(GENERATOR) -DZN_BUILD_TESTS=OFF -DZN_BUILD_DOCS=ON \
	  -DZN_DOCS_DIR=$(abspath $(DOCS_DIR))
	cmake --build $(DOCS_DIR) --target docs

# Line, function and branch coverage of the libraries and programs by every
# test (tests, fuzzers, benchmarks and test support not counted), printed
# and written as HTML to build/coverage/html/index.html. Not a gate.
coverage:
	@tools/install-deps.sh $(COVERAGE_PACKAGES)
	cmake -S . -B $(COVERAGE_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DZN_COVERAGE=ON
	cmake --build $(COVERAGE_DIR) -j$(JOBS)
	find $(COVERAGE_DIR) -name '*.gcda' -delete
	cd $(COVERAGE_DIR) && ctest -j$(JOBS) --output-on-failure --timeout 300
	tools/coverage-report.sh $(COVERAGE_DIR)

# ESLint over the gallery's script, with the version the browser test's lock
# file pins (installed into build/lint when that file changed).
.PHONY: lint
lint:
	@tools/install-deps.sh node
	@mkdir -p $(BUILD_DIR)/lint
	@if ! cmp -s ombral/cli/tests/browser/package-lock.json $(BUILD_DIR)/lint/package-lock.json || \
	    [ ! -x $(BUILD_DIR)/lint/node_modules/.bin/eslint ]; then \
	  cp ombral/cli/tests/browser/package.json ombral/cli/tests/browser/package-lock.json $(BUILD_DIR)/lint/ && \
	  (cd $(BUILD_DIR)/lint && npm ci --no-audit --no-fund --loglevel=error); \
	fi
	cd ombral/scan/pages/gallery && $(abspath $(BUILD_DIR))/lint/node_modules/.bin/eslint --max-warnings 0 assets/gallery.js

# PNG pictures of the dialog program's windows, drawn off screen.
screenshot: build
	tools/screenshot.sh "$(abspath $(RELEASE_DIR))" "$(abspath $(BUILD_DIR))/screenshots"

clean:
	rm -rf $(BUILD_DIR)

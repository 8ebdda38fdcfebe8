# Set-up, build and test commands of the Ombral suite. Each target installs
# what is missing first (when run as root), so they work on a fresh machine.

BUILD_DIR   ?= build
JOBS        ?= 2
TEST_DIR    := $(BUILD_DIR)/test
RELEASE_DIR := $(BUILD_DIR)/release
GENERATOR   := Ninja

# Debian packages the build and the tests need.
PACKAGES := cmake g++ make ninja-build pkg-config libgtest-dev

.PHONY: all deps test build clean

all: build

# Installs the missing packages; does nothing when all are present.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages:$$missing -- run 'make deps' as root, or install them." >&2; exit 1; \
	  fi; \
	fi

# Builds everything and runs every test, with AddressSanitizer and
# UndefinedBehaviorSanitizer on, so each test also checks memory safety.
test: deps
	cmake -S . -B $(TEST_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DZN_SANITIZE=ON
	cmake --build $(TEST_DIR) -j$(JOBS)
	cd $(TEST_DIR) && ctest -j$(JOBS) --output-on-failure --timeout 300

# An optimised build of the libraries and programs.
build: deps
	cmake -S . -B $(RELEASE_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)

clean:
	rm -rf $(BUILD_DIR)

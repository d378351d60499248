# Entry points for a fresh Debian 12 machine: `make demo`, `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

DEBIAN_PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev \
	libgtest-dev libgmock-dev libbenchmark-dev librapidxml-dev nlohmann-json3-dev libcli11-dev uuid-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: setup build demo test sanitize bench clean

# Installs only what is missing, so it is quick when everything is there.
setup:
	@missing=""; for p in $(DEBIAN_PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

build: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	$(BUILD_DIR)/tools/kvres/kvres types
	rm -rf $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/tools/kvres/kvres import examples/sources --project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/tools/kvres/kvres anim optimize examples/animation/walk.anim.json \
		--position-tolerance 0.005 --angle-tolerance 1 -o $(BUILD_DIR)/walk.optimized.anim.json

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

sanitize: setup
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_BENCHMARKS=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*Bench; do $$b; done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)

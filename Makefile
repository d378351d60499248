# Entry points for a fresh Debian 12 machine: `make demo`, `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
# Seconds each fuzzer runs.
FUZZ_SECONDS ?= 10
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

DEBIAN_PACKAGES := cmake ninja-build g++ clang clang-format libclang-rt-14-dev \
	libgtest-dev libgmock-dev libbenchmark-dev librapidxml-dev nlohmann-json3-dev libcli11-dev uuid-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
# Rebuilds reuse earlier compilations when ccache is there, from any checkout of the project;
# nothing needs it.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR ?= $(CURDIR)

.PHONY: setup build demo bazel-demo test sanitize bench fuzz format-check install clean

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
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LAUNCHER)
	cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	$(BUILD_DIR)/bin/kvres types
	rm -rf $(BUILD_DIR)/demo-project $(BUILD_DIR)/demo-before-actions
	cp -r examples/project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/bin/kvres import examples/particles --project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/bin/kvres import examples/sources --project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/bin/kvres show --bind examples/particles/sparks.xml > $(BUILD_DIR)/sparks.bound.json
	$(BUILD_DIR)/bin/kvres export-prefab prefabs/crate_stack --project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/bin/kvres export-prefab prefabs/camp --project $(BUILD_DIR)/demo-project
	$(BUILD_DIR)/bin/kvres action list --project $(BUILD_DIR)/demo-project prefabs/guard_post
	# One action of each kind, run and undone: every file is left as it was.
	cp -r $(BUILD_DIR)/demo-project $(BUILD_DIR)/demo-before-actions
	$(BUILD_DIR)/bin/kvres action run --project $(BUILD_DIR)/demo-project prefabs/guard_post --object / \
		--menu "Actor 'mob' as prefab instance" --label 'prefabs\watchtower' --undo
	$(BUILD_DIR)/bin/kvres action run --project $(BUILD_DIR)/demo-project prefabs/guard_post --object /m_apActors/1 \
		--menu "Prefab Update" --label 'Update prefab prefabs\watchtower' --undo
	$(BUILD_DIR)/bin/kvres action run --project $(BUILD_DIR)/demo-project prefabs/guard_post \
		--object /m_apActors/1/m_apChildren/0 --menu "Prefab Extract" --label 'Extract prefab prefabs\crate_stack' --undo
	for label in "Override nonSSAO" "Revert Shader Override"; do \
		$(BUILD_DIR)/bin/kvres action run --project $(BUILD_DIR)/demo-project props/door/door --object / \
			--menu Rendering --label "$$label" --undo || exit 1; \
	done
	diff -r $(BUILD_DIR)/demo-before-actions $(BUILD_DIR)/demo-project
	rm -rf $(BUILD_DIR)/demo-before-actions
	# The mesh-decal rebuild has no undo: it stays in the data.
	$(BUILD_DIR)/bin/kvres action run --project $(BUILD_DIR)/demo-project props/door/door --object / \
		--menu Rendering --label "Set MeshDecal bindings"
	$(BUILD_DIR)/bin/kvres anim optimize examples/animation/walk.anim.json \
		--position-tolerance 0.005 --angle-tolerance 1 -o $(BUILD_DIR)/walk.optimized.anim.json

# Every case in a process of its own, and every GoogleTest program once whole in a random
# order (label "shuffled"; the seed is printed on failure).
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

sanitize: setup
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_BENCHMARKS=OFF $(LAUNCHER)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# Fails when a tracked source file differs from what .clang-format makes of it.
format-check: setup
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON $(LAUNCHER) \
		-DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCHMARKS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_all
	@for f in $(FUZZ_DIR)/fuzz/Fuzz_*; do \
		name=$$(basename $$f); corpus=$(FUZZ_DIR)/corpus/$$name; mkdir -p $$corpus; \
		echo "== $$name"; \
		if ! $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -print_final_stats=1 $$corpus examples/sources examples/particles \
			> $(FUZZ_DIR)/$$name.log 2>&1; then \
			tail -n 60 $(FUZZ_DIR)/$$name.log; exit 1; \
		fi; \
		grep -E "^stat::number_of_executed_units" $(FUZZ_DIR)/$$name.log; \
	done

# A tree of bin/kvres and lib/ that works wherever it is moved.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The examples imported as Bazel actions, built twice through a disk cache and compared with
# `kvres import`; Debian's Bazel is installed when missing.
bazel-demo: build
	@command -v bazel >/dev/null || { $(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y bazel-bootstrap; }
	rm -rf $(BUILD_DIR)/bazel-tools
	cmake --install $(BUILD_DIR) --prefix $(BUILD_DIR)/bazel-tools
	examples/bazel/demo.sh $(BUILD_DIR) $(BUILD_DIR)/bazel-tools

bench: build
	@for b in $(BUILD_DIR)/bench/*Bench; do $$b; done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)

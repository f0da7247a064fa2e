# The two commands of the README: `make run` and `make test`.
PROGRAM_DIR ?= $(HOME)/Talo
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build build-program install run test bench clean

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_WARNINGS_AS_ERRORS=ON

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what the program directory needs: the program, the tool that makes its empty tables and
# the one that draws its icons.
build-program: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target talo talo-provision talo-icons

install: build-program
	cmake --install $(BUILD_DIR) --prefix "$(PROGRAM_DIR)"
	./scripts/install-desktop.sh "$(PROGRAM_DIR)" "$(BUILD_DIR)"

# The checks come first: without a display the whole build would end in the toolkit's abort.
run:
	./scripts/run-checks.sh "$(PROGRAM_DIR)"
	$(MAKE) install
	cd "$(PROGRAM_DIR)" && ./talo

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/talo-bench
	$(BUILD_DIR)/bench/talo-bench-window
	$(BUILD_DIR)/bench/talo-bench-report
	$(BUILD_DIR)/bench/talo-bench-followup

clean:
	rm -rf $(BUILD_DIR)

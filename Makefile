# Thin wrapper over CMake. `make test` and `make run` are all a new machine needs.
BUILD   ?= build
PREFIX  ?= $(CURDIR)/install
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup configure build test install run clean

all: build

setup:
	bash tools/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Starts the main program Coursewright when it is installed; until it is
# built, the pupil's program Stepwell with a task of the sample module.
run: install
	@if [ -x "$(PREFIX)/kernel/bin/Coursewright" ]; then \
		"$(PREFIX)/kernel/bin/Coursewright"; \
	else \
		echo "Installed into $(PREFIX); the main program Coursewright is not part of this build:" \
		     "starting Stepwell with a task of the sample module."; \
		bash tools/run-stepwell.sh "$(PREFIX)" "$(BUILD)"; \
	fi

clean:
	rm -rf $(BUILD)

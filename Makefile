# QX Marvolant: the two commands a user needs.
#   make test   installs what the build needs, builds, runs every test
#   make run    installs, builds, prepares the start-up folder and starts the program
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 4)
RUNDIR ?= $(HOME)/QXMarvolant

.PHONY: all deps configure build test run bench clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=Europe/Berlin \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	scripts/prepare-rundir "$(RUNDIR)" "$(CURDIR)/data"
	cd "$(RUNDIR)" && "$(CURDIR)/$(BUILD)/qxmarvolant"

bench: build
	@for b in $(BUILD)/bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b; done

clean:
	rm -rf $(BUILD)

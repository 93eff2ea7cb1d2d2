# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?=
export CCACHE_SLOPPINESS := pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_DIR ?= $(HOME)/.cache/ccache

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/Orvan/Orvan

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)

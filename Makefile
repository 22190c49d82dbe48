# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# Lets ccache reuse objects built in another checkout of the same tree.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps configure build run test bench clean format sanitize-vbs fuzz-vbs

all: build

deps:
	@bash scripts/deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)

test: build
	@bash scripts/test.sh $(BUILD_DIR)

bench: build
	@bash scripts/bench.sh $(BUILD_DIR)

# VBScript engine under ASan+UBSan, and a libFuzzer run (FUZZ_SECONDS, default 600).
sanitize-vbs:
	@bash scripts/vbs-check.sh sanitize
fuzz-vbs:
	@bash scripts/vbs-check.sh fuzz $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)

# make run [FILE=/path/to/file]   installs what is missing, builds, and plays FILE (or the sample clip)
# make test                       installs what is missing, builds, and runs every test
# make BUILD_TYPE=Release ...     a release build; SANITIZE=ON builds with ASan and UBSan
# make fuzz [FUZZ=target] [FUZZ_SECONDS=600]
#                                 builds the fuzz targets with clang and libFuzzer (build-fuzz); with
#                                 FUZZ, fuzzes that target for FUZZ_SECONDS (see the README)

BUILD_TYPE ?= Debug
SANITIZE ?= OFF
BUILD_DIR ?= build$(if $(filter Release,$(BUILD_TYPE)),-release)$(if $(filter ON,$(SANITIZE)),-sanitize)
SAMPLE := $(BUILD_DIR)/sample/sample.mp4

FUZZ_SECONDS ?= 600

.PHONY: all deps configure build run test fuzz clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTESSEL_SANITIZE=$(SANITIZE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@[ ! -e $(BUILD_DIR)/bin/libGyrelle.so ] || $(BUILD_DIR)/bin/tessel-regsvr $(BUILD_DIR)/bin/libGyrelle.so
	$(BUILD_DIR)/bin/tessel "$(if $(FILE),$(FILE),$(SAMPLE))"

test: build
	@scripts/run-tests $(BUILD_DIR)

# New inputs the fuzzer finds go to build-fuzz/corpus/<target>, inputs that crash to
# build-fuzz/findings/<target>; the seeds in tests/fuzz/corpus are only read.
fuzz:
	@scripts/install-deps fuzz
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSEL_FUZZ=ON >/dev/null
	@cmake --build build-fuzz --target fuzz_targets
ifneq ($(FUZZ),)
	@mkdir -p build-fuzz/corpus/$(FUZZ) build-fuzz/findings/$(FUZZ)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	build-fuzz/bin/fuzz_$(FUZZ) -max_total_time=$(FUZZ_SECONDS) -timeout=30 \
		$(if $(wildcard tests/fuzz/$(FUZZ).dict),-dict=tests/fuzz/$(FUZZ).dict) \
		-artifact_prefix=build-fuzz/findings/$(FUZZ)/ build-fuzz/corpus/$(FUZZ) tests/fuzz/corpus/$(FUZZ)
endif

clean:
	rm -rf build build-release build-sanitize build-release-sanitize build-fuzz

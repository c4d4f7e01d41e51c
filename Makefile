# make run [FILE=/path/to/file]   installs what is missing, builds, and plays FILE (or the sample clip)
# make test                       installs what is missing, builds, and runs every test
# make BUILD_TYPE=Release ...     a release build; SANITIZE=ON builds with ASan and UBSan

BUILD_TYPE ?= Debug
SANITIZE ?= OFF
BUILD_DIR ?= build$(if $(filter Release,$(BUILD_TYPE)),-release)$(if $(filter ON,$(SANITIZE)),-sanitize)
SAMPLE := $(BUILD_DIR)/sample/sample.mp4

.PHONY: all deps configure build run test clean

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

clean:
	rm -rf build build-release build-sanitize build-release-sanitize

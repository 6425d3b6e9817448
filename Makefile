# The two commands of the README: `make run` and `make test`. Both install what is missing,
# configure and build first, so a fresh Debian 12 machine needs nothing done by hand.

BUILD      := build
SAN_BUILD  := build-sanitize
FUZZ_BUILD := build-fuzz
PLAY       := play
CMAKE_GEN  := -G Ninja
JOBS       ?= 2
FUZZ_SECONDS ?= 60
FUZZERS    := record_file level_picture

.PHONY: all deps build run test sanitize bench fuzz screenshots format clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The game alone builds much faster than everything with the tests.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl kfbundled
	@scripts/seed-play.sh $(BUILD)/data $(PLAY)
	cd $(PLAY) && ../$(BUILD)/kurvenflitzerl

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(SAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKF_SANITIZE=ON

sanitize: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_bench

$(FUZZ_BUILD)/build.ninja: | deps
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKF_FUZZ=ON -DBUILD_TESTING=OFF

# Each fuzzer for FUZZ_SECONDS on a working copy of its corpus (the level pictures' also gets
# the intro level the build draws); whatever it finds lands in $(FUZZ_BUILD), not in the tree.
fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f && cp fuzz/corpus/$$f/* $(FUZZ_BUILD)/corpus/$$f/; \
	done
	cp $(FUZZ_BUILD)/data/Level_00_INTRO.bmp $(FUZZ_BUILD)/corpus/level_picture/
	for f in $(FUZZERS); do \
		$(FUZZ_BUILD)/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$f || exit 1; \
	done

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_screenshots docs

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)

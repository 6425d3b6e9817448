# The two commands of the README: `make run` and `make test`. Both install what is missing,
# configure and build first, so a fresh Debian 12 machine needs nothing done by hand.
# A plain `make` only configures and builds: it never installs anything.

BUILD      := build
SAN_BUILD  := build-sanitize
FUZZ_BUILD := build-fuzz
PLAY       := play
CMAKE_GEN  := -G Ninja
JOBS       ?= 2
FUZZ_SECONDS ?= 60
FUZZERS    := record_file level_picture
SOAK_RUNS  ?= 3000
SOAK_WARMUP ?= 500

.PHONY: all deps build run test shuffle sanitize bench soak fuzz screenshots package format clean

all: build

deps:
	@scripts/install-deps.sh

# Configuring and building install nothing. The targets that install first depend on `deps`
# alone and build through a second make in their recipe, which starts only once `deps` is
# done, so that even `make -j` never configures before the packages are there.
$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The game alone builds much faster than everything with the tests.
run: deps
	@$(MAKE) --no-print-directory $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl kfbundled
	@scripts/seed-play.sh $(BUILD)/data $(PLAY)
	cd $(PLAY) && ../$(BUILD)/kurvenflitzerl

test: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each test program whole, in a random order, to find tests that depend on others having run
# (or not run) before them. `make shuffle SEED=<n>` repeats the order of a run that failed.
ifndef SEED
SEED := $(shell shuf -i 1-99999 -n 1)
endif
SHUFFLE := --gtest_shuffle --gtest_random_seed=$(SEED) --gtest_brief=1

shuffle: deps
	@$(MAKE) --no-print-directory build
	@echo "Tests in shuffled order, seed $(SEED)"
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_core_tests $(SHUFFLE)
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_widget_tests $(SHUFFLE)
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_scale_tests $(SHUFFLE)

$(SAN_BUILD)/build.ninja:
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKF_SANITIZE=ON

sanitize: deps
	@$(MAKE) --no-print-directory $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The benchmarks, the soak and the screenshots are no part of `make build`: each builds its own.
bench: deps
	@$(MAKE) --no-print-directory $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kf_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_bench

# Runs in their thousands with their notices in one process: the heap every 100 runs and its
# growth per run after the warm-up. `make soak SOAK_RUNS=<n> SOAK_WARMUP=<n>` for other counts.
soak: deps
	@$(MAKE) --no-print-directory $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kf_soak
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_soak $(SOAK_RUNS) $(SOAK_WARMUP)

$(FUZZ_BUILD)/build.ninja:
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKF_FUZZ=ON -DBUILD_TESTING=OFF

# Each fuzzer for FUZZ_SECONDS on a working copy of its corpus (the level pictures' also gets
# the intro level the build draws); whatever it finds lands in $(FUZZ_BUILD), not in the tree.
fuzz: deps
	@$(MAKE) --no-print-directory $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f && cp fuzz/corpus/$$f/* $(FUZZ_BUILD)/corpus/$$f/; \
	done
	cp $(FUZZ_BUILD)/data/Level_00_INTRO.bmp $(FUZZ_BUILD)/corpus/level_picture/
	for f in $(FUZZERS); do \
		$(FUZZ_BUILD)/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$f || exit 1; \
	done

screenshots: deps
	@$(MAKE) --no-print-directory $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kf_screenshots kfbundled
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_screenshots docs

# A Debian package of the game, the checker and the tracks, in $(BUILD)/.
package: deps
	@$(MAKE) --no-print-directory $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl kurvenflitzerl-check kfbundled
	cd $(BUILD) && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)

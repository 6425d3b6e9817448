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
FUZZERS    := record_file level_picture race_file
SOAK_RUNS  ?= 3000
SOAK_WARMUP ?= 500

.PHONY: all deps build run test shuffle sanitize bench soak fuzz screenshots package format clean \
	league league-stop

all: build

# Every package any target needs.
deps:
	@scripts/install-deps.sh

# Each target that installs first names its package groups (see scripts/install-deps.sh) in the
# first line of its recipe, and configures and builds only after it, so that even `make -j`
# never configures before the packages are there. Configuring and building install nothing.
DEPS      := @scripts/install-deps.sh
CONFIGURE := cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(BUILD)/build.ninja:
	$(CONFIGURE)

# The game, the checker and the package need no test packages: a build folder that they
# configure first leaves the tests out. The targets that need the tests turn them on, in a new
# build folder or in one configured without them; the benchmarks, which are built when their
# package is found, configure once more when it was not there before.
FOR_GAME  := @[ -f $(BUILD)/build.ninja ] || $(CONFIGURE) -DBUILD_TESTING=OFF
FOR_TESTS := @grep -qsx 'BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt && \
	[ -f $(BUILD)/build.ninja ] || $(CONFIGURE) -DBUILD_TESTING=ON
FOR_BENCH := @grep -qs '^benchmark_DIR:PATH=/' $(BUILD)/CMakeCache.txt || \
	if [ -f $(BUILD)/build.ninja ]; then cmake $(BUILD); else $(CONFIGURE) -DBUILD_TESTING=OFF; fi

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The game alone builds much faster than everything with the tests.
run:
	$(DEPS) run
	$(FOR_GAME)
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl kfbundled
	@scripts/seed-play.sh $(BUILD)/data $(PLAY)
	cd $(PLAY) && ../$(BUILD)/kurvenflitzerl

# A league on this machine: PostgreSQL on a Unix socket in $(LEAGUE)/ (no TCP), the players ann
# and ben, and the verifier running; prints the connection strings to paste into the game.
# `make league-stop` stops the verifier and the server, and keeps the league's data.
LEAGUE := .league

league:
	$(DEPS) run test
	$(FOR_GAME)
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl-league
	@scripts/league-local.sh up $(BUILD)/kurvenflitzerl-league $(LEAGUE)

league-stop:
	@scripts/league-local.sh down $(LEAGUE)

# The install tests build and check the package, with lintian among others.
test:
	$(DEPS) run test package
	$(FOR_TESTS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each test program whole, in a random order, to find tests that depend on others having run
# (or not run) before them. `make shuffle SEED=<n>` repeats the order of a run that failed.
ifndef SEED
SEED := $(shell shuf -i 1-99999 -n 1)
endif
SHUFFLE := --gtest_shuffle --gtest_random_seed=$(SEED) --gtest_brief=1

shuffle:
	$(DEPS) run test
	$(FOR_TESTS)
	cmake --build $(BUILD) -j $(JOBS) --target kf_core_tests kf_widget_tests kf_scale_tests
	@echo "Tests in shuffled order, seed $(SEED)"
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_core_tests $(SHUFFLE)
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_widget_tests $(SHUFFLE)
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_scale_tests $(SHUFFLE)

$(SAN_BUILD)/build.ninja:
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKF_SANITIZE=ON

sanitize:
	$(DEPS) run test package
	@$(MAKE) --no-print-directory $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The benchmarks, the soak and the screenshots are no part of `make build`: each builds its own.
bench:
	$(DEPS) run bench
	$(FOR_BENCH)
	cmake --build $(BUILD) -j $(JOBS) --target kf_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_bench

# Runs in their thousands with their notices in one process: the heap every 100 runs and its
# growth per run after the warm-up. `make soak SOAK_RUNS=<n> SOAK_WARMUP=<n>` for other counts.
soak:
	$(DEPS) run test
	$(FOR_TESTS)
	cmake --build $(BUILD) -j $(JOBS) --target kf_soak
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_soak $(SOAK_RUNS) $(SOAK_WARMUP)

$(FUZZ_BUILD)/build.ninja:
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKF_FUZZ=ON -DBUILD_TESTING=OFF

# Each fuzzer for FUZZ_SECONDS on a working copy of its corpus (the level pictures' also gets
# the intro level the build draws); whatever it finds lands in $(FUZZ_BUILD), not in the tree.
# First the generated tracks, which must come out byte for byte as with the usual compiler.
fuzz:
	$(DEPS) run fuzz
	@$(MAKE) --no-print-directory $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS)) kf_golden_tracks
	QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/kf_golden_tracks
	for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f && cp fuzz/corpus/$$f/* $(FUZZ_BUILD)/corpus/$$f/; \
	done
	cp $(FUZZ_BUILD)/data/Level_00_INTRO.bmp $(FUZZ_BUILD)/corpus/level_picture/
	for f in $(FUZZERS); do \
		$(FUZZ_BUILD)/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$f || exit 1; \
	done

screenshots:
	$(DEPS) run
	$(FOR_GAME)
	cmake --build $(BUILD) -j $(JOBS) --target kf_screenshots kfbundled
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_screenshots docs

# A Debian package of the game, the checker, the track maker, the tracks and the manual pages,
# in $(BUILD)/, and lintian's word on it: no error and no warning.
package:
	$(DEPS) run package
	$(FOR_GAME)
	cmake --build $(BUILD) -j $(JOBS) --target kurvenflitzerl kurvenflitzerl-check kurvenflitzerl-track \
		kurvenflitzerl-league kfbundled kfdocs
	cd $(BUILD) && cpack -G DEB
	version=$$(dpkg-parsechangelog -l $(BUILD)/doc/changelog.Debian -S Version) && \
		lintian --fail-on error,warning $(BUILD)/kurvenflitzerl_$${version}_*.deb

format:
	$(DEPS) format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)

# The two commands of the README: `make run` and `make test`. Both install what is missing,
# configure and build first, so a fresh Debian 12 machine needs nothing done by hand.

BUILD      := build
SAN_BUILD  := build-sanitize
FUZZ_BUILD := build-fuzz
PLAY       := play
CMAKE_GEN  := -G Ninja
JOBS       ?= 2
FUZZ_SECONDS ?= 60

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
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKF_FUZZ=ON

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_record_file
	mkdir -p $(FUZZ_BUILD)/corpus/record_file
	cp -n fuzz/corpus/record_file/* $(FUZZ_BUILD)/corpus/record_file/ 2>/dev/null || true
	$(FUZZ_BUILD)/fuzz_record_file -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		$(FUZZ_BUILD)/corpus/record_file

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/kf_screenshots docs

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)

# The two set-up commands of the README, plus a few for developers.
#   make test   install what is missing, build with ASan+UBSan, run every test
#   make run    install what is missing, build a release, run the main job
SHELL := /bin/bash
JOBS ?= $(shell nproc)
TEST_DIR := build/test
REL_DIR := build/release
BENCH_DIR := build/bench

.PHONY: test run bench fuzz pictures deps-test deps-run format clean

deps-test:
	@bash scripts/install-deps.sh test

deps-run:
	@bash scripts/install-deps.sh run

# Activation refuses a library that its group can write, so the builds make their
# files under the usual umask whatever the caller's is.
test: deps-test
	umask 022 && cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZE_SANITIZE=ON -DZE_BENCH=OFF
	umask 022 && cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)

run: deps-run
	umask 022 && cmake -S . -B $(REL_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZE_TESTS=OFF -DZE_BENCH=OFF
	umask 022 && cmake --build $(REL_DIR) -j $(JOBS)
	bash scripts/main-job.sh $(REL_DIR)

# The README's pictures of the controls, from the offscreen session of the main job.
pictures: deps-run
	umask 022 && cmake -S . -B $(REL_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZE_TESTS=OFF -DZE_BENCH=OFF
	umask 022 && cmake --build $(REL_DIR) -j $(JOBS)
	bash scripts/update-pictures.sh $(REL_DIR)

bench: deps-test
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZE_TESTS=OFF -DZE_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(BENCH_DIR)

# Coverage-guided fuzzing with libFuzzer (clang): FUZZ_TARGET=automation_text (the
# text conversions), reg_file (the .reg reader), utilita_text (zeUtilita's text
# routines), ini_text (the INI text rules), property_bag (the property-bag reader),
# zeprova_script (zeprova's script reading) or pe_version (the PE version reader).
FUZZ_TARGET ?= automation_text
fuzz: deps-test
	bash scripts/fuzz.sh $(FUZZ_TARGET)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build

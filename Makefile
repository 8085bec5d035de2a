# Thin wrapper over the CMake presets: `make run` starts Korvane, `make test` runs every test
# (under ASan and UBSan, then full mode's threads under ThreadSanitizer, then the fuzz targets once).
.PHONY: run test bench fuzz deps clean

# How long `make fuzz` runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 600

deps:
	./scripts/install-deps

run: deps
	cmake --preset release
	cmake --build --preset release
	./build/release/ui/korvane

test: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

bench: deps
	cmake --preset release
	cmake --build --preset release
	./build/release/bench/korvane-bench

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	./fuzz/run eval -max_total_time=$(FUZZ_SECONDS)
	./fuzz/run differential -max_total_time=$(FUZZ_SECONDS)
	./fuzz/run aif -max_total_time=$(FUZZ_SECONDS)
	./fuzz/run argdown -max_total_time=$(FUZZ_SECONDS)

clean:
	rm -rf build

# Thin wrapper over the CMake presets: `make run` starts Korvane, `make test` runs every test.
.PHONY: run test bench deps clean

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

bench: deps
	cmake --preset release
	cmake --build --preset release
	./build/release/bench/korvane-bench

clean:
	rm -rf build

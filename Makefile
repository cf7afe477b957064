# The two set-up commands of the README. Both install missing Debian packages, configure
# and build in build/ (RelWithDebInfo, both cores) and then run the program or the tests.
BUILD := build
JOBS := 2

.PHONY: run test build deps

run: build
	$(BUILD)/bin/quillday

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 600

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

deps:
	@./tools/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

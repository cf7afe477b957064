# The two set-up commands of the README. Both install missing Debian packages, configure
# and build in build/ (RelWithDebInfo, two parallel jobs) and then run the program or the
# tests. A second run only rebuilds what changed.
BUILD := build
JOBS ?= 2

PREFIX ?= /usr/local
FUZZ_BUILD := build-fuzz
# Seconds each fuzz target runs for (the iCalendar and store targets four times as long).
FUZZ_SECONDS ?= 60

.PHONY: run test build deps install package fuzz

run: build
	$(BUILD)/bin/quillday $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 600

# Installs under $(PREFIX) (DESTDIR honoured), the program stripped.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# The Debian package, $(BUILD)/quillday_<version>_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

deps:
	@./tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The libFuzzer targets of fuzz/, built with clang and the sanitizers in $(FUZZ_BUILD)/,
# each run for FUZZ_SECONDS (the slow ones longer: tools/run-fuzz.sh). Inputs that crash
# or hang are kept in fuzz/findings/<target>/, where the test suite replays them from then on.
fuzz:
	@./tools/install-deps.sh --fuzz
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLDAY_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_targets
	./tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

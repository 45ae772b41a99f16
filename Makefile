# Quorbel: build and test entry points.  `make test` is what CI runs.
NATIVE := build/native
FUZZ   := build/fuzz
WIN    := build/win
BENCH  := build/bench
JOBS   := $(shell nproc)

.PHONY: all deps native fuzz win dist bench soak test run clean

all: native win

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DQUORBEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)

win: deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(WIN) -j $(JOBS)

# The release (the Windows build is a Release build): the installer and the
# zip, named after the version in res/version.h.
dist: win
	rm -rf build/dist
	mkdir -p build/dist
	cp $(WIN)/dist/release/Quorbel-*-setup.exe $(WIN)/dist/release/Quorbel-*.zip build/dist/
	@ls -l build/dist

bench: deps
	cmake -S . -B $(BENCH) -DQUORBEL_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BENCH) -j $(JOBS)
	$(MAKE) win
	tools/run-benchmarks.sh $(BENCH) $(WIN)

# The fault and soak scenarios on Quorbel.exe under Wine (about two hours
# with the default 1,000,000 frames); writes docs/reliability.md.
SOAK_FRAMES ?= 1000000
soak: native win
	python3 tools/soak/soak.py --native $(NATIVE) --win $(WIN) --frames $(SOAK_FRAMES) --doc docs/reliability.md

# Quorbel.exe under Wine, receiving frames from vorlsim into build/run/;
# with DB=1 also into a PostgreSQL server of its own.
run: native win
	python3 tools/run.py $(NATIVE) $(WIN) build/run $(if $(DB),--database)

test: native fuzz win
	tools/test-session.sh $(NATIVE) $(FUZZ) $(WIN)

clean:
	rm -rf build

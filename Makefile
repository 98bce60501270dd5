# The two commands of README: `make run` and `make test`. Each installs what it needs first.
.PHONY: deps configure build run test test-sanitize test-tsan clean bench-engine deb

JOBS ?= $(shell nproc)

deps:
	./scripts/install-deps.sh

configure: deps
	cmake --preset default

build: configure
	cmake --build --preset default -j $(JOBS)

run: build
	./scripts/run-main.sh

test: build
	ctest --preset default -j $(JOBS)

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS) --no-tests=ignore

# The engine's speed against its references (prints "ratio TEST.sub-test value" lines). Not part
# of `make test`: it takes a few minutes and its figures depend on how busy the machine is.
# BENCH_DIR is where the HDD scratch file goes (default: the build folder's file system).
BENCH_DIR ?= build
BENCH_SIZE_MB ?= 256
bench-engine: configure
	cmake --build --preset default -j $(JOBS) --target velora09_engine velora-engine-harness
	./build/bin/velora-engine-harness --dir $(BENCH_DIR) --size $(BENCH_SIZE_MB)

# The Debian package of the installed program: build/velora_<version>_amd64.deb, to install with
# `apt install ./build/velora_*.deb`.
deb: build
	cd build && cpack -G DEB

# The ranking service's pages and registrations per second against nginx serving a saved page
# (prints a table of ratios). Not part of `make test`; needs install-deps.sh --with-bench.
.PHONY: bench-ranking
bench-ranking: configure
	cmake --build --preset default -j $(JOBS) --target velora-ranking velora-ranking-seed
	scripts/bench-ranking.sh build

# The ranking service's package: build/velora-ranking_<version>_amd64.deb (program, systemd unit).
.PHONY: deb-ranking
deb-ranking: configure
	cmake --build --preset default -j $(JOBS) --target velora-ranking
	cd build && cpack --config CPackRankingConfig.cmake

clean:
	rm -rf build build-sanitize build-tsan

# The PCI name databases of data/, regenerated from Debian's pci.ids (package pci.ids).
.PHONY: pci-data
pci-data:
	python3 tools/gen_pci_databases.py /usr/share/misc/pci.ids data

# The Ranking page's choice lists of data/; the country list from Debian's iso-codes.
.PHONY: ranking-data
ranking-data:
	python3 tools/gen_ranking_lists.py data

# The ranking service, built and run in the foreground on RANKING_LISTEN; its database is
# $XDG_DATA_HOME/velora09/ranking.sqlite (~/.local/share/...) unless RANKING_DB names one.
RANKING_LISTEN ?= 127.0.0.1:8009
.PHONY: ranking-server
ranking-server: configure
	cmake --build --preset default -j $(JOBS) --target velora-ranking
	./build/bin/velora-ranking --listen $(RANKING_LISTEN) $(if $(RANKING_DB),--db $(RANKING_DB))

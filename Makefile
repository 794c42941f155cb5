# Two entry points, both usable on a fresh Debian 12 machine as root:
#   make run   installs what is missing, builds (release) and starts Ledgerly
#   make test  installs what is missing, checks the formatting, builds with sanitizers and
#              runs every test
# and one for installing:
#   make package  builds the Debian package ledgerly_<version>_<arch>.deb here
RELEASE_DIR := build/release
TEST_DIR    := build/test

.PHONY: deps run build test bench package clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEDGERLY_BUILD_TESTS=OFF -DLEDGERLY_BUILD_BENCH=OFF
	cmake --build $(RELEASE_DIR)

run: build
	$(RELEASE_DIR)/bin/ledgerly

test: deps
	bash tools/check-format.sh
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DLEDGERLY_CHECKS=ON \
		-DLEDGERLY_BUILD_TESTS=ON -DLEDGERLY_BUILD_BENCH=ON
	cmake --build $(TEST_DIR)
	cd $(TEST_DIR) && ctest --output-on-failure -j2

bench: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEDGERLY_BUILD_TESTS=OFF -DLEDGERLY_BUILD_BENCH=ON
	cmake --build $(RELEASE_DIR)
	$(RELEASE_DIR)/bin/ledgerly_bench

package: build
	rm -f $(RELEASE_DIR)/ledgerly_*.deb
	cd $(RELEASE_DIR) && cpack -G DEB
	cp $(RELEASE_DIR)/ledgerly_*.deb .

clean:
	rm -rf build

# Orbisk: `make run` builds and starts the desktop program, `make test` builds
# and runs every test. Both install what is missing first (Debian 12).

BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

APT_PACKAGES = build-essential cmake pkg-config qt6-base-dev libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev \
	iproute2 nftables procps xvfb xauth x11-apps fonts-wqy-microhei

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps configure build test run clean

deps:
	@missing=$$(for p in $(APT_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The tests make their own network namespaces; they need root (sudo when not root).
test: build
	cd $(BUILD) && $(SUDO) env CI=$${CI:-} QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) --output-on-failure --timeout 300; \
	status=$$?; sh $(CURDIR)/scripts/check_netns.sh . || status=1; exit $$status

run: build
	$(BUILD)/ui/orbisk

clean:
	rm -rf $(BUILD)

# --- Fuzzing and sanitizers (tests/fuzz, docs/reliability.md) ---
# `make fuzz` runs every libFuzzer target for FUZZ_SECONDS in build-fuzz;
# `make test-sanitize` runs the whole suite under ASan+UBSan in build-asan;
# `make soak` runs only the hostile-network soak (also part of `make test`).
FUZZ_SECONDS ?= 60

.PHONY: fuzz test-sanitize soak

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) sh scripts/fuzz.sh

test-sanitize: deps
	JOBS=$(JOBS) sh scripts/test-sanitize.sh

soak: build
	cd $(BUILD) && $(SUDO) env CI=$${CI:-} QT_QPA_PLATFORM=offscreen ctest -L soak -V --timeout 600

# --- Trying it out without a NAS (root: network namespaces; see scripts/) ---
# `make demo` starts Orbisk on a virtual LAN with three simulated devices,
# `make screenshots` writes docs/screenshots/ under Xvfb, `make bench` prints
# the desktop program's figures for docs/benchmarks.md.
X_ENV = env DISPLAY="$${DISPLAY:-}" WAYLAND_DISPLAY="$${WAYLAND_DISPLAY:-}" XAUTHORITY="$${XAUTHORITY:-}"

.PHONY: demo screenshots bench

demo: build
	$(SUDO) $(X_ENV) sh scripts/demo.sh $(BUILD)

screenshots: build
	$(SUDO) sh scripts/screenshots.sh $(BUILD) docs/screenshots

bench: build
	$(SUDO) sh scripts/bench_desktop.sh $(BUILD)

# Orbisk: `make run` builds and starts the desktop program, `make test` builds
# and runs every test, `make package` makes the Debian packages. Each installs
# what is missing first (Debian 12, 13 or testing): `make run` only what
# building and running need, `make test` the test tools as well. Package names
# are ones every release has (clang and libclang-rt-dev are each release's own).

BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

# Building and running (scdoc makes the manual pages; the font is the dialogs';
# qt6-tools-dev and qt6-l10n-tools build the translations, qt6-translations-l10n
# carries Qt's own).
APT_PACKAGES = build-essential cmake pkg-config qt6-base-dev libgl-dev scdoc fonts-wqy-microhei \
	qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
# Testing, fuzzing, the virtual LAN, Xvfb, checking the packages, the
# fonts of every language the translation tests measure texts in, Ansible for
# the inventory script and systemd-analyze for the watch service (the node
# exporter and promtool are unpacked, not installed: see prometheus-tools).
APT_TEST_PACKAGES = libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev \
	iproute2 nftables procps xvfb xauth x11-apps lintian desktop-file-utils appstream fonts-noto-cjk \
	ansible-core systemd

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

define apt_install
	@missing=$$(for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

.PHONY: deps test-deps prometheus-tools configure configure-test build build-test test run package package-check clean

deps:
	$(call apt_install,$(APT_PACKAGES))

test-deps: deps
	$(call apt_install,$(APT_TEST_PACKAGES))

# Without GoogleTest (a `make run` machine) the tests are left out of the build;
# a build directory configured for tests keeps them.
configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		$$(dpkg -s libgtest-dev >/dev/null 2>&1 || echo -DORBISK_BUILD_TESTS=OFF) $(CMAKE_FLAGS)

configure-test: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBISK_BUILD_TESTS=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

build-test: configure-test
	cmake --build $(BUILD) -j$(JOBS)

# The real node exporter and promtool, from Debian's packages, unpacked into
# the build tree so that their services never run here.
prometheus-tools:
	sh scripts/fetch_prometheus_tools.sh $(BUILD)/prometheus-tools

# The tests make their own network namespaces; they need root (sudo when not root).
# A random run id in the namespaces' names lets the check afterwards look at
# this run's namespaces only, so that runs from two clones do not meet. It
# starts with a letter: older sweeps read a number there as the owner's pid.
test: build-test prometheus-tools
	run=r$$(od -An -N4 -tx1 /dev/urandom | tr -d ' \n'); \
	cd $(BUILD) && $(SUDO) env CI=$${CI:-} ORBISK_VLAN_RUN=$$run QT_QPA_PLATFORM=offscreen \
		ctest -j$(JOBS) --output-on-failure --timeout 300; \
	status=$$?; sh $(CURDIR)/scripts/check_netns.sh . $$run || status=1; exit $$status

run: build
	$(BUILD)/ui/orbisk

# The .deb files land in $(BUILD); see packaging/CMakeLists.txt for the split.
package: build
	cd $(BUILD) && cpack -G DEB

# Packages from the existing build, then lintian, desktop-file-validate and
# appstreamcli validate; any error fails.
package-check: test-deps
	sh scripts/check_package.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# --- Fuzzing and sanitizers (tests/fuzz, docs/reliability.md) ---
# `make fuzz` runs every libFuzzer target for FUZZ_SECONDS in build-fuzz;
# `make test-sanitize` runs the whole suite under ASan+UBSan in build-asan;
# `make soak` runs only the hostile-network soak (also part of `make test`).
FUZZ_SECONDS ?= 60

.PHONY: fuzz test-sanitize soak

fuzz: test-deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) sh scripts/fuzz.sh

test-sanitize: test-deps
	JOBS=$(JOBS) sh scripts/test-sanitize.sh

soak: build-test
	cd $(BUILD) && $(SUDO) env CI=$${CI:-} QT_QPA_PLATFORM=offscreen ctest -L soak -V --timeout 600

# --- Trying it out without a NAS (root: network namespaces; see scripts/) ---
# `make demo` starts Orbisk on a virtual LAN with three simulated devices,
# `make screenshots` writes docs/screenshots/ under Xvfb, `make bench` prints
# the desktop program's figures for docs/benchmarks.md.
X_ENV = env DISPLAY="$${DISPLAY:-}" WAYLAND_DISPLAY="$${WAYLAND_DISPLAY:-}" XAUTHORITY="$${XAUTHORITY:-}"

.PHONY: demo screenshots bench

demo: build-test
	$(SUDO) $(X_ENV) sh scripts/demo.sh $(BUILD)

screenshots: build-test
	$(SUDO) sh scripts/screenshots.sh $(BUILD) docs/screenshots

bench: build-test
	$(SUDO) sh scripts/bench_desktop.sh $(BUILD)

# --- Other Debian releases (scripts/check_release.sh; root) ---
# `make check-releases` runs `make test` and `make package-check` on a fresh
# Debian 13 and a fresh Debian testing, each in a throw-away chroot.
RELEASES ?= trixie testing

.PHONY: check-releases

check-releases:
	for r in $(RELEASES); do $(SUDO) env JOBS=$(JOBS) sh scripts/check_release.sh $$r || exit 1; done

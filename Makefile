# Tallyglass Countdown. Both targets install what they need (Debian packages).
.PHONY: run test bench fuzz dist mutants clean

run:
	@bash scripts/run.sh

test:
	@bash scripts/test.sh

bench:
	@bash scripts/bench.sh

dist:
	@bash scripts/dist.sh

mutants:
	@bash scripts/deps.sh && python3 tests/mutants/run.py

fuzz:
	@bash scripts/fuzz.sh $(or $(SECONDS_PER_TARGET),300)

clean:
	rm -rf build

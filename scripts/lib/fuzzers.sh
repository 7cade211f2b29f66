# Shared by scripts/fuzz and scripts/test: the fuzzers CMake lists and one run
# of a fuzzer. Source it from the repository root; it defines functions only.

# Configures the fuzz preset and prints the fuzzers, one a line.
tide_fuzzers() {
    cmake --preset fuzz >build/logs/configure-fuzz.log 2>&1 || { cat build/logs/configure-fuzz.log >&2; return 1; }
    cat build/fuzz/fuzzers.txt
}

# The seed corpus of a fuzzer: its name without "Fuzzer", in small letters.
tide_fuzz_corpus() { # fuzzer
    local stem=${1%Fuzzer}
    echo "${stem,,}"
}

# Runs a built fuzzer for SECONDS on its committed seeds plus a growing corpus
# in build/fuzz/corpus/; crash inputs land in build/fuzz/artifacts/, never in
# the sources.
tide_run_fuzzer() { # fuzzer seconds [libFuzzer options...]
    local fuzzer=$1 seconds=$2 corpus
    shift 2
    corpus=$(tide_fuzz_corpus "$fuzzer")
    mkdir -p "build/fuzz/corpus/$corpus" build/fuzz/artifacts
    build/fuzz/bin/"$fuzzer" -max_total_time="$seconds" -timeout=10 "$@" \
        -artifact_prefix="$PWD/build/fuzz/artifacts/$fuzzer-" \
        "build/fuzz/corpus/$corpus" "tests/fuzz/corpus/$corpus"
}

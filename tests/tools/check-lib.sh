# Sourced by the tidetool scripts: `check DESCRIPTION COMMAND...` counts a
# command that succeeds and ends the run at the first one that fails.
passed=0
check() { # description command...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        echo "$passed passed, 1 failed"
        exit 1
    fi
}

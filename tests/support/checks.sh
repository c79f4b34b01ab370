# The checks of the test scripts, sourced by them: each check counts a pass
# or prints what differed; report prints the count and fails when any did.
failures=0
passes=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

contains() {  # contains NAME NEEDLE HAYSTACK
    if grep -qF -- "$2" <<<"$3"; then
        passes=$((passes + 1))
    else
        echo "FAIL: $1: '$2' not in:"
        echo "$3" | head -20
        failures=$((failures + 1))
    fi
}

report() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

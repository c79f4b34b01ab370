#!/usr/bin/env bash
# Fails when an option path is written as a string literal anywhere in src/
# outside the option-name table (src/core/OptionNames.h): a literal starting
# with .\ , or a literal in the path argument (the first) of a Registry call.
# Comment lines are not looked at. Prints file:line of each offence.
#   check_option_literals.sh SOURCE-DIR
set -u
SRC="$1/src"
TABLE="$SRC/core/OptionNames.h"

root_literal='"\.\\\\'
registry_call='(^|[^A-Za-z0-9_])(GetINT|GetBOOL|GetSTRING|GetString|SetINT|SetBOOL|SetSTRING|DataExists|CD|MakeKey|DeleteKey)\(([^,;()"]|\([^()]*\))*"'

# The patterns themselves: they must find what they are meant to find.
probe() {  # probe EXPECTED-STATUS LINE
    printf '%s\n' "$2" | grep -qE -e "$root_literal" -e "$registry_call"
    if [ $? -ne "$1" ]; then
        echo "check_option_literals.sh: pattern broken on: $2"
        exit 2
    fi
}
probe 0 'r.GetINT(".\\Results\\Size");'
probe 0 'r.GetINT(key + "\\Header");'
probe 0 'r.SetINT(std::string(key) + "\\Header" + std::to_string(i), 1);'
probe 0 'r.CD("..");'
probe 0 'Show(1044, ".\\Search\\AlwaysSearchFocus");'
probe 1 'r.SetSTRING(opt::study_list::kFile, "");'
probe 1 'r.SetSTRING(opt::dictionaries::edict::Encoding(n), "EUC-JP");'
probe 1 'Log(u"GetINT: %S\n", name);'
[ -f "$TABLE" ] && grep -qE "$root_literal" "$TABLE" || { echo "check_option_literals.sh: no table at $TABLE"; exit 2; }

hits=$(grep -rnE --include='*.h' --include='*.cpp' -e "$root_literal" -e "$registry_call" "$SRC" |
    grep -vF "$TABLE:" | grep -vE '^[^:]*:[0-9]+:[[:space:]]*//')
if [ -n "$hits" ]; then
    echo "Option paths written as literals (name them in src/core/OptionNames.h):"
    echo "$hits"
    exit 1
fi
echo "No option path literal outside src/core/OptionNames.h"

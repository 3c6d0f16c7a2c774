# Sourced by the command-line tests. make_locales DIR NAME... compiles the
# UTF-8 locales NAME (cs_CZ, en_US...) into DIR and points LOCPATH there, so that the tests need no
# locale installed on the machine (localedef comes with Debian's "locales").
make_locales() {
    local dir=$1 name
    shift
    mkdir -p "$dir"
    for name in "$@"; do
        # localedef warns about details of some sources; the compiled locale is what counts.
        localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8" >/dev/null 2>&1
        if [[ ! -e $dir/$name.UTF-8/LC_NUMERIC ]]; then
            echo "localedef could not compile $name.UTF-8" >&2
            return 1
        fi
    done
    export LOCPATH=$dir
}

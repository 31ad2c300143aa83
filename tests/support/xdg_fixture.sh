# xdg_fixture.sh: a throw-away desktop for end-to-end scripts, the same as
# tests/support/xdg_fixture.h makes inside a test process. Source it (bash),
# then:
#   vlic_xdg_setup               make the desktop and export XDG_DATA_HOME,
#                                XDG_CONFIG_HOME, XDG_DATA_DIRS, XDG_CONFIG_DIRS
#                                (and VLIC_XDG_ROOT, VLIC_XDG_RECORD,
#                                VLIC_XDG_SCRATCH); the recording handler is the
#                                default for https and http addresses
#   vlic_xdg_register TYPE...    also make it the default for these MIME types
#                                ("text/plain", "x-scheme-handler/vlic-test")
#   vlic_xdg_count               print the number of recorded starts
#   vlic_xdg_records             print the record, one handler argument a line
#   vlic_xdg_wait N [SECONDS]    wait (default 5 s) until N lines are recorded;
#                                status 0 when they are, 1 on time-out
#   vlic_xdg_clear               empty the record
#   vlic_xdg_cleanup             remove the desktop (e.g. trap vlic_xdg_cleanup EXIT)
# Programs started after vlic_xdg_setup (and after any vlic_xdg_register)
# see only this desktop: GIO reads the variables when it starts. The handler
# appends the argument GIO starts it with (%u) as one line to the record: an
# address as given (non-ASCII as raw UTF-8), a local file as its absolute
# path; a start with other than one argument first writes "#argc N".
# Layout (the same as the C++ fixture): $VLIC_XDG_ROOT/{data,config,sysdata,
# sysconfig,scratch}, handler, record.

vlic_xdg_setup() {
    VLIC_XDG_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/vlic-xdg-XXXXXX") || return 1
    case $VLIC_XDG_ROOT in *\'*) echo "xdg fixture: TMPDIR holds a quote" >&2; return 1 ;; esac
    VLIC_XDG_RECORD=$VLIC_XDG_ROOT/record
    VLIC_XDG_SCRATCH=$VLIC_XDG_ROOT/scratch
    VLIC_XDG_TYPES="x-scheme-handler/https x-scheme-handler/http"
    export VLIC_XDG_ROOT VLIC_XDG_RECORD VLIC_XDG_SCRATCH
    mkdir -p "$VLIC_XDG_ROOT/data/applications" "$VLIC_XDG_ROOT/config" \
        "$VLIC_XDG_ROOT/sysdata" "$VLIC_XDG_ROOT/sysconfig" "$VLIC_XDG_SCRATCH" || return 1
    local mime
    for mime in /usr/share/mime /usr/local/share/mime; do
        if [ -d "$mime" ]; then ln -s "$mime" "$VLIC_XDG_ROOT/sysdata/mime"; break; fi
    done
    cat > "$VLIC_XDG_ROOT/handler" <<EOF || return 1
#!/bin/sh
# Records the argument it is started with as one line.
{ [ \$# -eq 1 ] || printf '#argc %d\\n' "\$#"; printf '%s\\n' "\$@"; } >> '$VLIC_XDG_RECORD'
EOF
    chmod 755 "$VLIC_XDG_ROOT/handler"
    _vlic_xdg_write || return 1
    export XDG_DATA_HOME=$VLIC_XDG_ROOT/data
    export XDG_CONFIG_HOME=$VLIC_XDG_ROOT/config
    export XDG_DATA_DIRS=$VLIC_XDG_ROOT/sysdata
    export XDG_CONFIG_DIRS=$VLIC_XDG_ROOT/sysconfig
    unset GTK_USE_PORTAL
}

# Writes the .desktop file and mimeapps.list for $VLIC_XDG_TYPES.
_vlic_xdg_write() {
    local id=vlic-test-handler.desktop types="" defaults="" t
    for t in $VLIC_XDG_TYPES; do
        types="$types$t;"
        defaults="$defaults$t=$id
"
    done
    printf '[Desktop Entry]\nType=Application\nName=VLicEnr test handler\nExec="%s/handler" %%u\nNoDisplay=true\nTerminal=false\nMimeType=%s\n' \
        "$VLIC_XDG_ROOT" "$types" > "$VLIC_XDG_ROOT/data/applications/$id.new" &&
        mv "$VLIC_XDG_ROOT/data/applications/$id.new" "$VLIC_XDG_ROOT/data/applications/$id" &&
        printf '[Default Applications]\n%s\n[Added Associations]\n%s' "$defaults" "$defaults" \
            > "$VLIC_XDG_ROOT/config/mimeapps.list.new" &&
        mv "$VLIC_XDG_ROOT/config/mimeapps.list.new" "$VLIC_XDG_ROOT/config/mimeapps.list"
}

vlic_xdg_register() {
    local t
    for t in "$@"; do
        case " $VLIC_XDG_TYPES " in *" $t "*) ;; *) VLIC_XDG_TYPES="$VLIC_XDG_TYPES $t" ;; esac
    done
    _vlic_xdg_write
}

vlic_xdg_count() {
    if [ -f "$VLIC_XDG_RECORD" ]; then wc -l < "$VLIC_XDG_RECORD" | tr -d ' '; else echo 0; fi
}

vlic_xdg_records() {
    if [ -f "$VLIC_XDG_RECORD" ]; then cat "$VLIC_XDG_RECORD"; fi
}

vlic_xdg_wait() {
    local want=$1 seconds=${2:-5} tries
    tries=$((seconds * 20))
    while [ "$(vlic_xdg_count)" -lt "$want" ]; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
    return 0
}

vlic_xdg_clear() {
    rm -f "$VLIC_XDG_RECORD"
}

vlic_xdg_cleanup() {
    if [ -n "${VLIC_XDG_ROOT:-}" ] && [ -z "${VLIC_XDG_KEEP:-}" ]; then rm -rf "$VLIC_XDG_ROOT"; fi
}

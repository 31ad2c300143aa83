# main_panel.sh: the real program on a private X display, operated with real
# mouse clicks and key presses, checked on what the screen shows.
#   - chooser mode: the chooser starts on "------" with no download section;
#     choosing a product shows the section, either "------" hides it;
#     "Plus de Produits ..." switches to the long list (its last product is
#     another one) and "Moins de Produits ..." back; QUITTER ends with 0;
#   - fixed mode: the indicator shows the given product (20 and 30 differ,
#     5000 and the unlisted 31 both show "------"), the download section is
#     shown dimmed and its button does nothing, the close box ends with 0;
#   - "abc" gives the chooser mode;
#   - a copy of the program without its catalogue shows the message, no main
#     panel, and ends with 0 once OK is pressed; one in a folder named in
#     Cyrillic, started from another folder, shows the main panel;
#   - no display: exit code -1 and one line on stderr.
# Run as: bash main_panel.sh <bin dir> <source dir>
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_x

APP="$E2E_BIN/VLicEnr"
UI=ui/panels/4.ui
MAIN='^Veltrane - T'   # the main panel's title
W=$E2E_WORK
read -r sx sy sw sh < <(e2e_ui_rect $UI CADRE_LOAD)   # the download section
read -r px py pw ph < <(e2e_ui_rect $UI PROD_CHOIX)   # chooser, and the indicator in its place
read -r qx qy < <(e2e_ui_center $UI BP_QUIT)
read -r lx ly < <(e2e_ui_center $UI BP_LOAD)
read -r cx cy < <(e2e_ui_center $UI PROD_CHOIX)
# The section's frame with a margin of 2 pixels inside, so that only what the
# section draws counts.
sx=$((sx + 2)) sy=$((sy + 2)) sw=$((sw - 4)) sh=$((sh - 4))

# Started from another folder: the program finds its catalogue in its own.
cd "$W"

section() { e2e_shot_rect "$1" $sx $sy $sw $sh "$W/$2.png"; }
chooser() { e2e_shot_rect "$1" $px $py $pw $ph "$W/$2.png"; }
hidden() { [ "$(e2e_colors "$W/$1.png")" -le 1 ]; }
same() { [ "$(e2e_diff "$W/$1.png" "$W/$2.png")" -eq 0 ]; }
differ() { [ "$(e2e_diff "$W/$1.png" "$W/$2.png")" -gt 20 ]; }
# away <window>: the mouse to a corner of the panel where nothing reacts to
# it, so that no control is drawn hovered in a screenshot.
away() {
    e2e_move_mouse "$1" 3 3
    e2e_wait_still "$1" || true
}
# pick <window> <keys...>: opens the chooser's list with a click, moves in it
# with the keys once it is open, takes the item with Return.
pick() {
    local w=$1 n
    shift
    n=$(e2e_count_windows "$pid")
    e2e_click "$w" "$cx" "$cy"
    if ! e2e_wait_windows "$pid" $((n + 1)); then
        e2e_fail "the chooser's list does not open"
        return 0
    fi
    e2e_press "$@" Return
    e2e_wait_windows "$pid" "$n" || e2e_fail "the chooser's list does not close"
    away "$w"
}

# ------------------------------------------------------------ chooser mode
e2e_log "chooser mode"
e2e_start_app "$APP"
pid=$E2E_APP_PID
win=$(e2e_wait_window "$MAIN" "$pid")
away "$win"
e2e_shot "$W/chooser-start.png" "$win"
section "$win" sec-start
chooser "$win" cho-start
e2e_expect "no download section at start" hidden sec-start

pick "$win" Down                        # the first product
section "$win" sec-product
chooser "$win" cho-product
e2e_shot "$W/chooser-product.png" "$win"
e2e_expect "choosing a product shows the download section" differ sec-start sec-product
e2e_expect "the chooser shows the product" differ cho-start cho-product

# The download command: the main panel gives way to the downloads panel; once
# that one is left (moved first, by the window manager), the main panel is
# back where the downloads panel was.
e2e_click "$win" "$lx" "$ly"
dl=$(for t in $(seq 1 80); do
    d=$(e2e_find_window 'charger Logiciels et Ressources' "$pid" | head -n 1)
    [ -n "$d" ] && { echo "$d"; break; }
    sleep 0.1
done)
[ -n "$dl" ] || e2e_fail "the download command opened no downloads panel"
e2e_log "the downloads panel opened"
e2e_expect "the main panel is hidden meanwhile" [ -z "$(e2e_find_window "$MAIN" "$pid")" ]
xdotool windowmove "$dl" 300 200
sleep 0.5
read -r dx dy _ _ < <(e2e_geometry "$dl")
e2e_close_box "$dl"
win=$(e2e_wait_window "$MAIN" "$pid")
read -r mx2 my2 _ _ < <(e2e_geometry "$win")
e2e_expect_eq "$dx $dy" "$mx2 $my2" "main panel's place after the downloads panel"
away "$win"

pick "$win" Home                        # the first "------"
section "$win" sec-sep1
chooser "$win" cho-sep1
e2e_expect "the first separator hides the section" hidden sec-sep1
e2e_expect "the chooser shows \"------\" again" same cho-start cho-sep1

pick "$win" Down Down
pick "$win" End Up                      # the "------" after the products
section "$win" sec-sep2
e2e_expect "the second separator hides the section" hidden sec-sep2

pick "$win" End Up Up                   # the short list's last product
chooser "$win" cho-short-last

pick "$win" End                         # "Plus de Produits ..."
section "$win" sec-plus
chooser "$win" cho-plus
e2e_expect "Plus de Produits selects \"------\"" same cho-start cho-plus
e2e_expect "Plus de Produits hides the section" hidden sec-plus
pick "$win" End Up Up                   # the long list's last product
chooser "$win" cho-long-last
e2e_shot "$W/chooser-long.png" "$win"
e2e_expect "the long list ends with another product" differ cho-short-last cho-long-last

pick "$win" End                         # "Moins de Produits ..."
chooser "$win" cho-moins
section "$win" sec-moins
e2e_expect "Moins de Produits selects \"------\"" same cho-start cho-moins
e2e_expect "Moins de Produits hides the section" hidden sec-moins
pick "$win" End Up Up
chooser "$win" cho-short-again
e2e_expect "back to the short list" same cho-short-last cho-short-again

e2e_click "$win" "$qx" "$qy"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after QUITTER"
e2e_expect "no window left after QUITTER" e2e_wait_no_window "$MAIN" "" 3

# -------------------------------------------------------------- fixed mode
# fixed <number> <name>: starts the program for that product, photographs
# the indicator and the section, leaves it running (pid in $pid, window in $win).
fixed() {
    e2e_start_app "$APP" "$1"
    pid=$E2E_APP_PID
    win=$(e2e_wait_window "$MAIN" "$pid")
    away "$win"
    chooser "$win" "ind-$2"
    section "$win" "sec-$2"
}
quit() {
    e2e_click "$win" "$qx" "$qy"
    e2e_wait_exit "$pid"
    e2e_expect_eq 0 "$E2E_EXIT" "exit code ($1)"
}

e2e_log "fixed mode"
fixed 20 20
e2e_shot "$W/fixed-20.png" "$win"
e2e_expect "fixed mode shows the download section" differ sec-start sec-20
e2e_expect "the section is drawn dimmed, unlike in the chooser mode" differ sec-product sec-20
e2e_click "$win" "$lx" "$ly"            # the dimmed TELECHARGER
sleep 1
e2e_shot "$W/fixed-20-after.png" "$win"
e2e_expect "the dimmed download button does nothing" \
    [ "$(e2e_diff "$W/fixed-20.png" "$W/fixed-20-after.png")" -eq 0 ]
e2e_expect "no other window opened" [ "$(e2e_find_window . "$pid" | wc -l)" -eq 1 ]
e2e_close_box "$win"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after the close box"

fixed 30 30
quit "fixed 30"
e2e_expect "products 20 and 30 show differently" differ ind-20 ind-30
fixed 5000 5000
quit "fixed 5000"
fixed 31 31
quit "fixed 31"
e2e_expect "5000 (no product) and 31 (unlisted) both show \"------\"" same ind-5000 ind-31
e2e_expect "...which is not product 20" differ ind-5000 ind-20

e2e_log "unreadable argument"
fixed abc abc
e2e_expect "\"abc\" gives the chooser mode: no section" hidden sec-abc
e2e_expect "\"abc\" gives the chooser on \"------\"" same cho-start ind-abc
quit "abc"

# ------------------------------------------------------- missing catalogue
e2e_log "missing catalogue"
mkdir "$W/sans-catalogue"
cp "$APP" "$W/sans-catalogue/"
e2e_start_app "$W/sans-catalogue/VLicEnr"
pid=$E2E_APP_PID
pop=$(e2e_wait_window 'application incompl' "$pid")
e2e_shot "$W/missing-catalogue.png" "$pop"
e2e_expect "the popup names the application" bash -c '[[ "$1" == *VLicEnr* ]]' _ "$(e2e_title "$pop")"
e2e_expect "no main panel behind the popup" [ -z "$(e2e_find_window "$MAIN" "$pid")" ]
e2e_key "$pop" Return                   # OK
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after OK"

# ------------------------------------- a folder Windows-1252 cannot name
e2e_log "a folder named in Cyrillic"
mkdir -p "$W/Иван"
cp "$APP" "$E2E_BIN"/{Veltrane.vlicprod,Veltrane.vlicvers,FenGen.uir} "$W/Иван/"
e2e_start_app "$W/Иван/VLicEnr"
pid=$E2E_APP_PID
win=$(e2e_wait_window "$MAIN" "$pid")
e2e_expect "the main panel, from the catalogue of its folder" [ -n "$win" ]
[ -n "$win" ] && e2e_close_box "$win"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after the close box"

# -------------------------------------------------------------- no display
e2e_log "no display"
rc=0
DISPLAY=:nothing.here "$APP" >"$W/nodisplay.out" 2>"$W/nodisplay.err" || rc=$?
e2e_expect_eq 255 "$rc" "exit code without a display (-1)"
e2e_expect "one line of ours on stderr" grep -q '^VLicEnr' "$W/nodisplay.err"
e2e_expect_eq 1 "$(wc -l <"$W/nodisplay.err")" "lines on stderr without a display"

e2e_done

#!/usr/bin/env bash
# The Windows program under Wine, on real X input, checked on what the
# screen shows, as a user meets it:
#   - chooser mode: the chooser starts on "------" without the download
#     section; a product chosen shows the section; "Plus de Produits ..."
#     gives the long list (it ends with another product) on "------", the
#     section hidden, and "Moins de Produits ..." the short one again; moving
#     through the open list with the keys chooses nothing yet; Alt+Q ends
#     the program with 0;
#   - fixed mode (product 20 on the command line): the indicator in place of
#     the chooser, the section shown dimmed, its button doing nothing; the
#     close box ends with 0;
#   - a copy of the program without its catalogue shows the message and no
#     main panel, and ends with 0 once OK is pressed.
# Run as: bash main_panel.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix

APP=$E2E_BIN/VLicEnr.exe
UI=ui/panels/4.ui
MAIN='^Veltrane - T'
W=$E2E_WORK
read -r sx sy sw sh < <(e2e_ui_rect $UI CADRE_LOAD)   # the download section
read -r px py pw ph < <(e2e_ui_rect $UI PROD_CHOIX)   # chooser, and the indicator in its place
read -r lx ly < <(e2e_ui_center $UI BP_LOAD)
read -r cx cy < <(e2e_ui_center $UI PROD_CHOIX)
# Only what the section draws inside its frame counts.
sx=$((sx + 2)) sy=$((sy + 2)) sw=$((sw - 4)) sh=$((sh - 4))

section() { e2e_shot_rect "$1" $sx $sy $sw $sh "$W/$2.png"; }
chooser() { e2e_shot_rect "$1" $px $py $pw $ph "$W/$2.png"; }
hidden() { [ "$(e2e_colors "$W/$1.png")" -le 1 ]; }
same() { [ "$(e2e_diff "$W/$1.png" "$W/$2.png")" -eq 0 ]; }
differ() { [ "$(e2e_diff "$W/$1.png" "$W/$2.png")" -gt 20 ]; }
away() { e2e_move_mouse "$1" 3 3; e2e_wait_still "$1" || true; }
# pick <window> <keys...>: opens the chooser's list with a click, moves in
# it with the keys once it is open, takes the item with Return.
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

# Started from another folder: the program finds its catalogue in its own.
cd "$W"

e2e_log "chooser mode"
wine_start "$APP"
pid=$E2E_APP_PID
win=$(e2e_wait_window "$MAIN" "$pid")
away "$win"
e2e_shot "$W/chooser-start.png" "$win"
section "$win" sec-start
chooser "$win" cho-start
e2e_expect "no download section at start" hidden sec-start

pick "$win" Down
section "$win" sec-product
chooser "$win" cho-product
e2e_expect "choosing a product shows the download section" differ sec-start sec-product
e2e_expect "the chooser shows the product" differ cho-start cho-product

pick "$win" Home
section "$win" sec-sep
chooser "$win" cho-sep                  # "------", the chooser holding the focus
e2e_expect "the first \"------\" hides the section" hidden sec-sep

pick "$win" End Up Up                   # the short list's last product
chooser "$win" cho-short-last
pick "$win" End                         # "Plus de Produits ..."
chooser "$win" cho-plus
section "$win" sec-plus
e2e_expect "Plus de Produits selects \"------\"" same cho-sep cho-plus
e2e_expect "Plus de Produits hides the section" hidden sec-plus
pick "$win" End Up Up                   # the long list's last product
chooser "$win" cho-long-last
e2e_shot "$W/chooser-long.png" "$win"
e2e_expect "the long list ends with another product" differ cho-short-last cho-long-last
pick "$win" End                         # "Moins de Produits ..."
chooser "$win" cho-moins
e2e_expect "Moins de Produits selects \"------\"" same cho-sep cho-moins
pick "$win" End Up Up
chooser "$win" cho-short-again
e2e_expect "back to the short list" same cho-short-last cho-short-again

e2e_key "$win" alt+q
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after Alt+Q"

e2e_log "fixed mode"
wine_start "$APP" 20
pid=$E2E_APP_PID
win=$(e2e_wait_window "$MAIN" "$pid")
away "$win"
e2e_shot "$W/fixed-20.png" "$win"
chooser "$win" ind-20
section "$win" sec-20
e2e_expect "the indicator shows a product" differ cho-start ind-20
e2e_expect "fixed mode shows the download section" differ sec-start sec-20
e2e_expect "the section is drawn dimmed, unlike in the chooser mode" differ sec-product sec-20
e2e_click "$win" "$lx" "$ly"            # the dimmed TELECHARGER
away "$win"
e2e_shot "$W/fixed-20-after.png" "$win"
e2e_expect "the dimmed download button does nothing" same fixed-20 fixed-20-after
e2e_expect "no other window opened" [ "$(e2e_count_windows "$pid")" -eq 1 ]
e2e_close_box "$win"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after the close box"

e2e_log "missing catalogue"
mkdir "$W/sans-catalogue"
cp "$APP" "$W/sans-catalogue/"
wine_start "$W/sans-catalogue/VLicEnr.exe"
pid=$E2E_APP_PID
pop=$(e2e_wait_window 'application incompl' "$pid")
e2e_shot "$W/missing-catalogue.png" "$pop"
e2e_expect "no main panel behind the message" [ -z "$(e2e_find_window "$MAIN" "$pid")" ]
e2e_key "$pop" Return                   # OK
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after OK"

e2e_done

#!/usr/bin/env bash
# End to end, on real X input, on a desktop where no application is
# registered for web addresses: a right click on the EMP button of the
# downloads panel offers "Copier l'adresse", which puts its address on the
# clipboard; pressing the button shows the "téléchargement impossible"
# popup, whose text (the address included) can be selected and copied.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_x
. "$E2E_SRC/tests/support/xdg_fixture.sh"
vlic_xdg_setup
trap 'e2e_cleanup; vlic_xdg_cleanup' EXIT
# No handler at all: empty folders in place of the recording desktop.
none=$VLIC_XDG_SCRATCH/none
mkdir -p "$none/data" "$none/config"
export XDG_DATA_HOME=$none/data XDG_CONFIG_HOME=$none/config XDG_DATA_DIRS=$none/data XDG_CONFIG_DIRS=$none/config

main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui
expected="https://www.veltrane.fr/telecharger/Chronobox_EMP_V1-1.zip"
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

cd "$E2E_BIN"
e2e_start_app "$E2E_BIN/VLicEnr"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
e2e_click "$main" $(e2e_ui_center $main_ui PROD_CHOIX)
sleep 0.3
xdotool type --delay 60 "Chronobox"
xdotool key Return
sleep 0.5
e2e_click "$main" $(e2e_ui_center $main_ui BP_LOAD)
load=$(e2e_wait_window "Logiciels et Ressources" "$pid")

# Right click: the menu, then its one item.
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP) 3
sleep 0.4
e2e_shot "$E2E_WORK/menu.png"
e2e_press Down Return
e2e_expect_eq "$expected" "$(clipboard)" "Copier l'adresse puts the address on the clipboard"
e2e_expect_eq 1 "$(e2e_count_windows "$pid")" "a right click opens no other window"

# A press: no browser can start, the popup says so with the address.
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
popup=$(e2e_wait_window "chargement impossible" "$pid")
sleep 0.3
e2e_shot "$E2E_WORK/popup.png"
echo -n avant | xclip -selection clipboard
# A click in the text gives it the keyboard, as to a user who selects it.
e2e_click "$popup" 80 30
e2e_press ctrl+a ctrl+c
copied=$(clipboard)
e2e_expect "the popup's text names the item and holds the whole address" \
    bash -c '[[ "$1" == *"« EMP » (Chronobox)"* && "$1" == *"$2" ]]' _ "$copied" "$expected"
e2e_key "$popup" Return
sleep 0.3
e2e_expect_eq 1 "$(e2e_count_windows "$pid")" "the popup is gone, the downloads panel stays"

e2e_click "$load" $(e2e_ui_center $load_ui BP_QUIT)
main=$(e2e_wait_window "^Veltrane - " "$pid")
sleep 0.3
e2e_click "$main" $(e2e_ui_center $main_ui BP_QUIT)
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

# The headless run's own home for the program: its settings, data (the Trash among them)
# and caches (thumbnails among them) under build/sandbox, never the user's. Sourced by
# scripts/run; `root` is the repository.

# use_sandbox: points the XDG homes, and GSettings, at the sandbox; on its first use, writes
# the settings of a user past the walkthrough with a dock on each monitor of the headless
# desktop.
use_sandbox() {
  local sandbox="$root/build/sandbox"
  export XDG_CONFIG_HOME="$sandbox/config" XDG_DATA_HOME="$sandbox/data" XDG_CACHE_HOME="$sandbox/cache"
  # Desktop settings read and written in memory only, never in the user's dconf.
  export GSETTINGS_BACKEND=memory
  mkdir -p "$XDG_CONFIG_HOME/quillbern" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
  local settings="$XDG_CONFIG_HOME/quillbern/defaults.json"
  [[ -f "$settings" ]] || seed_sandbox "$settings"
}

# seed_sandbox FILE: the settings file, in the program's own format. The left monitor of the
# headless desktop is known by its output's name, "screen"; the right one by "Q-RIGHT".
seed_sandbox() {
  local docks
  docks=$(cat <<JSON
[{"id":"5EED0000-0000-4000-8000-000000000001","name":"Left","edge":"bottom",
  "display":{"display":{"stableID":"screen","name":"Q-LEFT"}},
  "items":[$(sandbox_app debian-xterm XTerm),$(sandbox_app vim Vim),$(sandbox_app display-im6.q16 ImageMagick),
    {"location":{"_0":{"id":"5EED0000-0000-4000-8000-000000000011","name":"Quillbern","path":"$root"}}},
    {"trash":{"_0":{"id":"5EED0000-0000-4000-8000-000000000012"}}}],
  "isVisible":true,"isEnabled":true,"showsWindows":false,"revealMode":"hover","alignment":"center"},
 {"id":"5EED0000-0000-4000-8000-000000000002","name":"Right","edge":"bottom",
  "display":{"display":{"stableID":"Q-RIGHT","name":"Q-RIGHT"}},
  "items":[$(sandbox_app debian-uxterm UXTerm),$(sandbox_app vim Vim),
    {"location":{"_0":{"id":"5EED0000-0000-4000-8000-000000000021","name":"docs","path":"$root/docs"}}},
    {"trash":{"_0":{"id":"5EED0000-0000-4000-8000-000000000022"}}}],
  "isVisible":true,"isEnabled":true,"showsWindows":true,"revealMode":"hover","alignment":"center"}]
JSON
  )
  # Docks in sight: nobody touches the headless desktop's edges.
  printf '{"hasCompletedOnboarding": true, "dockAutoHide": false, "profiles.v1": {"$data": "%s"}}\n' \
    "$(printf '%s' "$docks" | base64 -w0)" >"$1"
}

# sandbox_app ID NAME: a dock item of the application with that desktop entry.
sandbox_app() { printf '{"app":{"_0":{"bundleID":"%s","name":"%s"}}}' "$1" "$2"; }

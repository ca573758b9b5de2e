#!/usr/bin/env bash
# The project's libraries and their links, regenerated with cmake --graphviz from a configured
# build folder, printed one library a line, and checked for cycles (exit 1 on a cycle).
#   scripts/library-graph.sh [BUILD_DIR]     (default build/win32, else build/win64, build/native)
# The Graphviz file stays in BUILD_DIR/graph/quorvex.dot (render: dot -Tsvg quorvex.dot).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-}
if [ -z "$dir" ]; then
  for d in build/win32 build/win64 build/native; do
    [ -f "$ROOT/$d/CMakeCache.txt" ] && { dir="$ROOT/$d"; break; }
  done
fi
[ -n "$dir" ] && [ -f "$dir/CMakeCache.txt" ] || { echo "library-graph: no configured build folder" >&2; exit 2; }
mkdir -p "$dir/graph"
cmake --graphviz="$dir/graph/quorvex.dot" "$dir" >/dev/null
python3 - "$dir/graph/quorvex.dot" <<'EOF'
import re, sys
text = open(sys.argv[1]).read()
names = dict(re.findall(r'"(node\d+)"\s*\[\s*label\s*=\s*"([^"]+)"', text))
links = {}
for a, b in re.findall(r'"(node\d+)"\s*->\s*"(node\d+)"', text):
    la, lb = names[a], names[b]
    if la.startswith("qv_") or la in ("Quorvex", "kz", "pv"):
        links.setdefault(la, set())
        # A target's post-build step that names its own file shows as an edge to itself: no link.
        if lb.startswith("qv_") and lb != la:
            links[la].add(lb)
for lib in sorted(links):
    print("%-24s -> %s" % (lib, " ".join(sorted(links[lib])) or "-"))
# Depth-first search for a cycle among the project's libraries.
state, stack = {}, []
def visit(node):
    state[node] = 1
    stack.append(node)
    for nxt in sorted(links.get(node, ())):
        if state.get(nxt) == 1:
            print("cycle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
            sys.exit(1)
        if nxt not in state:
            visit(nxt)
    stack.pop()
    state[node] = 2
for lib in sorted(links):
    if lib not in state:
        visit(lib)
print("libraries: %d, no cycle" % len(links))
EOF

#include "server/style_sheet.h"

namespace velora::server {

const char* StyleSheet() {
  return R"css(body { font-family: "DejaVu Sans", "IPAPGothic", "Noto Sans CJK JP", sans-serif; margin: 0;
  background: #f4f5f7; color: #1d2330; line-height: 1.4; }
header { background: #1f3a5f; color: #fff; padding: 0.6em 1.5em 0.8em; }
header h1 { margin: 0.2em 0 0; font-size: 1.4em; overflow-wrap: anywhere; }
header p { margin: 0; display: inline-block; }
header p.language { float: right; }
header a { color: #cfe0ff; }
main { padding: 1em 1.5em; max-width: 72em; }
section { background: #fff; border: 1px solid #d5d9e0; border-radius: 4px; margin-bottom: 1.2em;
  padding: 0.5em 1em 1em; }
h2 { font-size: 1.15em; border-bottom: 2px solid #1f3a5f; padding-bottom: 0.2em; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #d5d9e0; padding: 0.25em 0.5em; text-align: left;
  overflow-wrap: anywhere; }
thead th { background: #e8ecf3; }
td.score, th.score, td.place, th.place, table.by-test td, table.scores td, table.compare td {
  text-align: right; white-space: nowrap; }
td.pick, th.pick { width: 1.5em; text-align: center; }
th.place { width: 3.5em; }
.rig { display: block; color: #5a6475; font-size: 0.85em; }
td.who { min-width: 7.5em; }
table.machine th { width: 12em; background: #f0f2f6; }
table.scores tr.test th, table.scores tr.test td, table.compare tr.test th,
table.compare tr.test td { background: #eef2f8; font-weight: bold; }
table.scores tbody tr:not(.test):not(.mark) th, table.compare tr.sub th { font-weight: normal;
  padding-left: 1.5em; }
tr.mine td { background: #ffe9a8; font-weight: bold; }
tr.mark td, tr.mark th { font-weight: bold; }
td.comment { white-space: pre-wrap; }
table.compare tbody.facts td { text-align: left; white-space: normal; }
table.compare th:first-child { min-width: 6em; overflow-wrap: break-word; }
.diff { display: block; font-size: 0.8em; }
.diff.up { color: #1b7a3a; }
.diff.down { color: #b3261e; }
form.search { display: flex; flex-wrap: wrap; gap: 0.5em 1em; align-items: end; margin: 0.5em 0; }
form.search label { display: flex; flex-direction: column; font-size: 0.85em; color: #444c5a; }
form.search label.query { flex: 1 1 14em; }
input, select, button { font: inherit; font-size: 1rem; padding: 0.25em 0.4em; }
button { background: #1f3a5f; color: #fff; border: 0; border-radius: 3px; padding: 0.35em 1em; }
nav.tabs { margin: 0.6em 0; display: flex; flex-wrap: wrap; gap: 0.3em; }
nav.tabs a { padding: 0.2em 0.7em; border: 1px solid #c5cbd6; border-radius: 3px;
  text-decoration: none; color: #1f3a5f; }
nav.tabs a.current { background: #1f3a5f; color: #fff; border-color: #1f3a5f; }
nav.pages { margin-top: 0.8em; display: flex; gap: 1.2em; justify-content: center; }
p.count { color: #5a6475; margin: 0.4em 0; }
figure { margin: 0; }
figcaption { color: #5a6475; font-size: 0.85em; }
svg.chart { width: 100%; max-width: 36em; height: auto; display: block; }
svg.chart text { font-size: 12px; fill: #1d2330; }
svg.chart .frame { fill: #f7f8fa; stroke: #d5d9e0; }
svg.chart .bar { fill: #7d97bd; }
svg.chart .bar.mine { fill: #1f3a5f; }
svg.chart .bar.reference { fill: #c3c9d4; }
svg.chart .marker { stroke: #d0342c; stroke-width: 2; }
svg.chart text.marker-text { fill: #d0342c; font-weight: bold; }
svg.chart text.difference { font-weight: bold; }
@media (max-width: 640px) {
  header { padding: 0.5em 0.8em 0.6em; }
  header h1 { font-size: 1.15em; }
  main { padding: 0.6em 0.4em; }
  section { padding: 0.3em 0.5em 0.6em; }
  th, td { padding: 0.2em 0.3em; font-size: 0.9em; }
  .opt { display: none; }
  table.compare th, table.compare td { font-size: 0.8em; }
  table.machine th { width: 6.5em; }
  form.search label { flex: 1 1 40%; }
}
)css";
}

}  // namespace velora::server

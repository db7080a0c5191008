// microformats-parser (npm), an independent microformats2 parser, reads web
// cards for the exchange tests. For each file it prints the properties of
// every h-card as "INDEX<tab>mf.PROP<tab>VALUE-AS-HEX" ("-" for an empty
// value; the parts of an embedded h-adr as mf.adr.PROP, and mf.PROP.value
// for an embedded item's plain text), INDEX counting the files from 0.
import fs from "node:fs";
import { mf2 } from "microformats-parser";

function out(index, key, value) {
  const hex = Buffer.from(String(value), "utf8").toString("hex");
  process.stdout.write(`${index}\t${key}\t${hex || "-"}\n`);
}

process.argv.slice(2).forEach((file, index) => {
  const parsed = mf2(fs.readFileSync(file, "utf8"), { baseUrl: "http://localhost/" });
  const cards = parsed.items.filter((item) => item.type.includes("h-card"));
  out(index, "mf.cards", cards.length);
  for (const card of cards) {
    for (const [prop, values] of Object.entries(card.properties)) {
      for (const value of values) {
        if (value && typeof value === "object" && value.properties) {
          out(index, `mf.${prop}.value`, value.value ?? "");
          for (const [sub, subvalues] of Object.entries(value.properties)) {
            for (const subvalue of subvalues) out(index, `mf.${prop}.${sub}`, subvalue);
          }
        } else if (value && typeof value === "object") {
          out(index, `mf.${prop}`, value.value ?? "");
        } else {
          out(index, `mf.${prop}`, value);
        }
      }
    }
  }
});

// ical.js, an independent vCard parser and writer (npm), for the exchange
// tests. Every line printed is "INDEX<tab>KEY<tab>VALUE-AS-HEX" ("-" for an
// empty value), INDEX counting the files from 0.
//
//   read FILE...          each property of the first vCard in each file:
//                         NAME (NAME.k for the parts of N, ADR and ORG) and
//                         NAME;PARAM for its parameters
//   photo OUT PICTURE...  writes OUT/N.vcf, a vCard 4.0 whose PHOTO is the
//                         picture as a data: address, as ical.js writes it
import fs from "node:fs";
import path from "node:path";
import ICAL from "ical.js";

function out(index, key, value) {
  const hex = Buffer.from(String(value), "utf8").toString("hex");
  process.stdout.write(`${index}\t${key}\t${hex || "-"}\n`);
}

function read(index, file) {
  const jcard = ICAL.parse(fs.readFileSync(file, "utf8"));
  const card = new ICAL.Component(Array.isArray(jcard[0]) ? jcard[0] : jcard);
  for (const prop of card.getAllProperties()) {
    const name = prop.name.toUpperCase();
    const values = prop.getValues();
    values.forEach((value, i) => {
      if (Array.isArray(value)) {
        value.forEach((part, k) => out(index, `${name}.${k}`, Array.isArray(part) ? part.join(",") : part));
      } else {
        out(index, values.length > 1 ? `${name}.${i}` : name, value);
      }
    });
    for (const [param, value] of Object.entries(prop.toJSON()[1])) {
      out(index, `${name};${param.toUpperCase()}`, Array.isArray(value) ? value.join(",") : value);
    }
  }
}

function photo(index, dir, picture) {
  const card = new ICAL.Component(["vcard", [], []]);
  card.addPropertyWithValue("version", "4.0");
  card.addPropertyWithValue("fn", "Ann Lee");
  const bytes = fs.readFileSync(picture);
  const type = bytes[0] === 0xff ? "image/jpeg" : "image/png";
  card.addPropertyWithValue("photo", `data:${type};base64,${bytes.toString("base64")}`);
  const file = path.join(dir, `${index}.vcf`);
  fs.writeFileSync(file, card.toString());
  out(index, "FILE", file);
}

const [mode, ...args] = process.argv.slice(2);
if (mode === "read") {
  args.forEach((file, i) => read(i, file));
} else if (mode === "photo") {
  args.slice(1).forEach((picture, i) => photo(i, args[0], picture));
} else {
  throw new Error(`unknown mode ${mode}`);
}

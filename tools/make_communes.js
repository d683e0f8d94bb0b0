#!/usr/bin/env node
// Builds data/Communes.tsv, the starter communes table, from the departments and communes of the
// npm package @etalab/decoupage-administratif (code under the MIT licence, data from INSEE's
// Code officiel géographique under the Licence Ouverte). Run by hand when the table is to be
// refreshed, never at build time:
//
//   tmp=$(mktemp -d) && (cd "$tmp" && npm install --no-save @etalab/decoupage-administratif)
//   node tools/make_communes.js "$tmp/node_modules/@etalab/decoupage-administratif" data/Communes.tsv
//
// Only the departments of metropolitan France are kept: the record window reads a department
// code of two characters ("01" to "95", "2A" and "2B" for Corsica). Each current commune gives one
// row: department code, commune number (the last three characters of its INSEE code), commune
// name, department name, then the commune's centre in Lambert II étendu metres, left empty
// because the package gives no coordinates. Rows are in department code order, then in commune
// name order.

'use strict';
const fs = require('fs');
const path = require('path');

function fail(why) {
  process.stderr.write(`make_communes: ${why}\n`);
  process.exit(1);
}

const [packageDir, output] = process.argv.slice(2);
if (!packageDir || !output)
  fail('usage: node tools/make_communes.js <@etalab/decoupage-administratif folder> <output .tsv>');

function readJson(name) {
  const file = path.join(packageDir, 'data', name);
  try {
    return JSON.parse(fs.readFileSync(file, 'utf8'));
  } catch (e) {
    fail(`cannot read ${file}: ${e.message}`);
  }
}

const pkg = JSON.parse(fs.readFileSync(path.join(packageDir, 'package.json'), 'utf8'));
const departements = readJson('departements.json');
const communes = readJson('communes.json');

const twoCharacters = /^(0[1-9]|[1-8][0-9]|9[0-5]|2A|2B)$/;
const nomDepartement = new Map();
for (const d of departements)
  if (twoCharacters.test(d.code)) nomDepartement.set(d.code, d.nom);
if (nomDepartement.size !== 96) fail(`expected 96 metropolitan departments, found ${nomDepartement.size}`);

const clean = (text) => String(text).replace(/[\t\r\n]+/g, ' ').trim();
const rows = [];
for (const c of communes) {
  if (c.type !== 'commune-actuelle' || !nomDepartement.has(c.departement)) continue;
  if (!c.code.startsWith(c.departement) || c.code.length !== 5) fail(`unexpected commune code ${c.code}`);
  const numero = c.code.slice(2);
  if (!/^[0-9]{3}$/.test(numero) || Number(numero) === 0) fail(`unexpected commune number in ${c.code}`);
  rows.push([c.departement, numero, clean(c.nom), clean(nomDepartement.get(c.departement)), '', '']);
}

const collator = new Intl.Collator('fr', { sensitivity: 'base' });
rows.sort((a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : collator.compare(a[2], b[2]) || (a[1] < b[1] ? -1 : 1)));

const header = ['Département', 'N° commune', 'Commune', 'Nom du département', 'X centre', 'Y centre'];
const text = [header, ...rows].map((r) => r.join('\t')).join('\n') + '\n';
fs.writeFileSync(output, text, 'utf8');
process.stderr.write(`make_communes: ${rows.length} communes of ${nomDepartement.size} departments ` +
                     `from ${pkg.name} ${pkg.version} written to ${output}\n`);

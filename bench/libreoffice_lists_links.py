#!/usr/bin/env python3
"""List numbers and field targets of RTF files as LibreOffice reads them, before and after a
save by Velmar.

usage: libreoffice_lists_links.py VELMAR_BENCH FILE.rtf... [--keep DIR]

For every FILE: `VELMAR_BENCH roundtrip FILE SAVED.rtf`, then LibreOffice (soffice --headless)
converts FILE and SAVED.rtf to text and flat ODF. From both it takes each paragraph's list
label as LibreOffice numbers it (paragraphs aligned by the text behind the label) and
each field: a hyperlink's target, a table of contents, a page number or page count, a form
field's kind and name. Beside that, every list paragraph's level and label as LibreOffice shows
them, bullets included ("levels"), how many comments and bookmarks LibreOffice sees in each,
and the text of each header and footer on its master pages. Prints per file how many labels,
levels, fields and headers and footers (those with text) of the original the saved copy has
alike and the comments and bookmarks before and after, then the totals. A measuring tool only:
it asserts nothing. Standard library only.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NS = {
    'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
    'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
    'xlink': 'http://www.w3.org/1999/xlink',
    'field': 'urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0',
    'style': 'urn:oasis:names:tc:opendocument:xmlns:style:1.0',
}


def q(name):
    prefix, local = name.split(':', 1)
    return '{%s}%s' % (NS[prefix], local)


def to_fodt(path, outdir, profile):
    subprocess.run(['soffice', '--headless', '-env:UserInstallation=file://' + profile,
                    '--convert-to', 'fodt', '--outdir', outdir, path],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return os.path.join(outdir, os.path.splitext(os.path.basename(path))[0] + '.fodt')


def to_text(path, outdir, profile):
    """LibreOffice's plain text, which writes each list paragraph's label before it."""
    subprocess.run(['soffice', '--headless', '-env:UserInstallation=file://' + profile,
                    '--convert-to', 'txt:Text (encoded):UTF8', '--outdir', outdir, path],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    name = os.path.join(outdir, os.path.splitext(os.path.basename(path))[0] + '.txt')
    with open(name, encoding='utf-8-sig') as f:
        return f.read()


LABEL = re.compile(r'^\s*((?:[0-9]+|[a-zA-Z]|[ivxlcdmIVXLCDM]+)(?:[.)][0-9a-zA-Z]*)*[.)]?)\s+(.*)$')


def labels(text):
    """Paragraph text (tabs as spaces, the cells of a row apart) -> its label, '' for none."""
    result = {}
    for line in text.splitlines():
        line = line.replace('\t', ' ').rstrip()
        if not line.strip():
            continue
        match = LABEL.match(line)
        if match and line.startswith(' '):  # LibreOffice indents list paragraphs
            result.setdefault(match.group(2).strip(), match.group(1))
        else:
            result.setdefault(line.strip(), '')
    return result


# --- List labels with their levels

def labels_on_levels(text):
    """Paragraph text -> (level, label) of each list paragraph. LibreOffice's plain text indents
    a list paragraph four spaces a level, the first level included, and writes its label, a
    number or a bullet, before its text."""
    result = {}
    for line in text.splitlines():
        line = line.replace('\t', ' ').rstrip()
        body = line.lstrip(' ')
        indent = len(line) - len(body)
        if indent < 4 or indent % 4 or ' ' not in body:
            continue
        label, rest = body.split(' ', 1)
        result.setdefault(rest.strip(), (indent // 4 - 1, label))
    return result


def compare_levels(before_text, after_text):
    """(alike, total, differences) of the original's list paragraphs in the saved copy."""
    before = labels_on_levels(before_text)
    after = labels_on_levels(after_text)
    differences = []
    for text, shown in before.items():
        # Velmar joins a table row's cells in one paragraph: its text starts with the cell's.
        saved = next((after[t] for t in after if t == text or t.startswith(text + ' ')), None)
        if saved != shown:
            differences.append('%r: level %d %s -> %s' % (
                text, shown[0], shown[1], 'level %d %s' % saved if saved else 'no label'))
    return len(before) - len(differences), len(before), differences


def fields(fodt):
    found = []
    for element in ET.parse(fodt).iter():
        if element.tag == q('text:a'):
            found.append('link ' + element.get(q('xlink:href'), ''))
        elif element.tag == q('text:table-of-content'):
            found.append('table of contents')
        elif element.tag == q('text:page-number'):
            found.append('page number')
        elif element.tag == q('text:page-count'):
            found.append('page count')
        elif element.tag in (q('field:fieldmark-start'), q('field:fieldmark')):
            found.append('form %s %s' % (element.get(q('field:type'), '').split('.')[-1],
                                         element.get(q('text:name'), '')))
    return found


def marks(fodt):
    """The comments and the bookmarks LibreOffice reads."""
    comments = bookmarks = 0
    for element in ET.parse(fodt).iter():
        if element.tag == q('office:annotation'):
            comments += 1
        elif element.tag in (q('text:bookmark'), q('text:bookmark-start')):
            bookmarks += 1
    return comments, bookmarks


def compare_marks(original_fodt, saved_fodt):
    """Prints and returns the comments and bookmarks of the original and of the saved copy."""
    comments, bookmarks = marks(original_fodt)
    comments_after, bookmarks_after = marks(saved_fodt)
    print('  comments %d before, %d after; bookmarks %d before, %d after'
          % (comments, comments_after, bookmarks, bookmarks_after))
    return [comments, comments_after, bookmarks, bookmarks_after]


# --- Headers and footers

HEADER_KINDS = ('header', 'header-left', 'header-first', 'footer', 'footer-left', 'footer-first')


def shown_text(element):
    """The text LibreOffice shows for an element: spaces, tabs and line breaks written out,
    paragraphs apart, a picture's data left out."""
    parts = [element.text or '']
    for child in element:
        if child.tag == q('text:s'):
            parts.append(' ' * int(child.get(q('text:c'), '1')))
        elif child.tag == q('text:tab'):
            parts.append('\t')
        elif child.tag == q('text:line-break'):
            parts.append('\n')
        elif child.tag != q('office:binary-data'):
            parts.append(shown_text(child))
            if child.tag in (q('text:p'), q('text:h')):
                parts.append('\n')
        parts.append(child.tail or '')
    return ''.join(parts)


def headers_footers(fodt):
    """(kind, text) of each header and footer with text on the master pages."""
    found = []
    for page in ET.parse(fodt).iter(q('style:master-page')):
        for kind in HEADER_KINDS:
            for element in page.findall(q('style:' + kind)):
                text = ' / '.join(line.strip() for line in shown_text(element).splitlines()
                                  if line.strip())
                if text:
                    found.append((kind, text))
    return found


def compare_headers(original_fodt, saved_fodt):
    """Prints and returns (alike, total): the original's headers and footers whose text
    LibreOffice shows alike in the saved copy, each kind (first, left, right page) apart."""
    before = headers_footers(original_fodt)
    after = headers_footers(saved_fodt)
    unmatched = list(after)
    missing = []
    for shown in before:
        if shown in unmatched:
            unmatched.remove(shown)
        else:
            missing.append(shown)
    print('  headers and footers %d/%d alike' % (len(before) - len(missing), len(before)))
    for kind, text in missing:
        saved_texts = [t for k, t in unmatched if k == kind]
        print('    %s %r -> %s' % (kind, text, ', '.join(repr(t) for t in saved_texts) or 'none'))
    return len(before) - len(missing), len(before)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bench')
    parser.add_argument('files', nargs='+')
    parser.add_argument('--keep')
    args = parser.parse_args()
    work = args.keep or tempfile.mkdtemp(prefix='velmar-lo-')
    os.makedirs(work, exist_ok=True)
    profile = os.path.join(work, 'profile')
    totals = [0, 0, 0, 0]
    level_totals = [0, 0]
    mark_totals = [0, 0, 0, 0]
    header_totals = [0, 0]
    for path in args.files:
        base = os.path.splitext(os.path.basename(path))[0]
        original = os.path.join(work, base + '.rtf')
        saved = os.path.join(work, base + '-saved.rtf')
        shutil.copyfile(path, original)
        subprocess.run([args.bench, 'roundtrip', original, saved], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        before_text = to_text(original, work, profile)
        after_text = to_text(saved, work, profile)
        before = labels(before_text)
        after = labels(after_text)
        numbered = [text for text, label in before.items() if label]
        # Velmar joins a table row's cells in one paragraph: its text starts with the cell's.
        matched = {text: next((t for t in after if t == text or t.startswith(text + ' ')), None)
                   for text in numbered}
        alike = [text for text in numbered if matched[text] and after[matched[text]] == before[text]]
        wrong = [text for text, label in after.items()
                 if label and text not in matched.values()]
        original_fodt = to_fodt(original, work, profile)
        saved_fodt = to_fodt(saved, work, profile)
        fields_before = fields(original_fodt)
        fields_after = fields(saved_fodt)
        kept = sum(1 for a, b in zip(fields_before, fields_after) if a == b)
        print('%s: labels %d/%d alike, %d labels added; fields %d/%d alike (%s)'
              % (os.path.basename(path), len(alike), len(numbered), len(wrong), kept,
                 len(fields_before), ', '.join(fields_before) or 'none'))
        for text in numbered:
            if text not in alike:
                print('  %r: %s -> %s' % (text, before[text], after.get(matched[text], 'missing')))
        totals[0] += len(alike)
        totals[1] += len(numbered)
        totals[2] += kept
        totals[3] += len(fields_before)
        levels_alike, levels_total, level_differences = compare_levels(before_text, after_text)
        print('  levels %d/%d alike' % (levels_alike, levels_total))
        for difference in level_differences:
            print('    ' + difference)
        level_totals[0] += levels_alike
        level_totals[1] += levels_total
        mark_totals = [a + b for a, b in
                       zip(mark_totals, compare_marks(original_fodt, saved_fodt))]
        header_totals = [a + b for a, b in
                         zip(header_totals, compare_headers(original_fodt, saved_fodt))]
    print('total: labels %d/%d alike; fields %d/%d alike' % tuple(totals))
    print('total: list labels with levels %d/%d alike' % tuple(level_totals))
    print('total: comments %d before, %d after; bookmarks %d before, %d after'
          % tuple(mark_totals))
    print('total: headers and footers %d/%d alike' % tuple(header_totals))
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == '__main__':
    sys.exit(main())

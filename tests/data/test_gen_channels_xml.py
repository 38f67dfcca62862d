"""The catalogue generator writes every slot in order and refuses malformed lists."""
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

GENERATOR = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "tools", "gen_channels_xml.py")
HEADER = "section\tposition\tname\turl\tcountry\tdescription\n"
SECTIONS = ["Music", "Games", "Movies", "News", "Entertainment", "Lifestyle", "Shopping", "Kids",
            "Sport", "Other", "USA", "Russia", "Germany", "France", "UK", "Italy", "Spain",
            "Canada", "Japan", "India", "Netherlands", "Argentina"]


def row(section, position, name="Name", description="Text", columns=None):
    fields = [str(section), str(position), name, "https://example.invalid/s.m3u8", "us", description]
    return "\t".join(fields[:columns] if columns else fields) + "\n"


def complete_list():
    return HEADER + "".join(row(s, p, f"S{s}P{p}") for s in range(1, 23) for p in range(2))


class Generator(unittest.TestCase):
    def run_generator(self, text):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "list.tsv")
            target = os.path.join(folder, "Channels.xml")
            with open(source, "w", encoding="utf-8", newline="") as out:
                out.write(text)
            result = subprocess.run([sys.executable, GENERATOR, source, target],
                                    capture_output=True, text=True)
            output = None
            if os.path.exists(target):
                with open(target, "rb") as written:
                    output = written.read()
            return result, output

    def test_writes_every_section_in_order(self):
        text = complete_list().replace("S1P1\thttps", "Rock & \"Roll\" <'n'>\thttps")
        result, output = self.run_generator(text)
        self.assertEqual(result.returncode, 0, result.stderr)
        root = ElementTree.fromstring(output)
        self.assertEqual([child.tag for child in root], SECTIONS)
        self.assertEqual(root.find("Music")[1].get("name"), "Rock & \"Roll\" <'n'>")
        self.assertEqual(root.find("Argentina")[0].get("name"), "S22P0")
        self.assertEqual(root.find("Argentina")[0].get("description"), "Text")
        self.assertEqual(self.run_generator(text)[1], output)

    def test_accepts_crlf_lines(self):
        result, output = self.run_generator(complete_list().replace("\n", "\r\n"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(ElementTree.fromstring(output).find("USA")[1].get("description"), "Text")

    def test_rejects_malformed_lists_naming_the_row(self):
        rows = complete_list().splitlines(keepends=True)
        cases = {
            "gap": (rows[:3] + [row(2, 1)] + rows[4:], "row 4"),
            "columns": (rows[:5] + [row(3, 0, columns=5)] + rows[6:], "row 6"),
            "missing section": ([r for r in rows if not r.startswith("7\t")], "section 7"),
            "order": (rows[:1] + rows[3:5] + rows[1:3] + rows[5:], "row 4"),
            "not a number": (rows[:2] + ["x" + rows[2]] + rows[3:], "row 3"),
            "header": (rows[1:], "row 1"),
            "section range": (rows + [row(23, 0)], "row 46"),
        }
        for label, (lines, where) in cases.items():
            with self.subTest(label):
                result, output = self.run_generator("".join(lines))
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(where, result.stderr)
                self.assertIsNone(output)


if __name__ == "__main__":
    unittest.main()

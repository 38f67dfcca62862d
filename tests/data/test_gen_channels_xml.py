"""The catalogue generator writes every slot in order and refuses malformed lists."""
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

GENERATOR = sys.argv.pop(1)
HEADER = "section\tposition\tname\turl\tcountry\tdescription\n"


def row(section, position, name="N", columns=6):
    return "\t".join([str(section), str(position), name, "https://x.invalid/", "us", "D"][:columns]) + "\n"


ROWS = [HEADER] + [row(s, p, f"S{s}P{p}") for s in range(1, 23) for p in range(2)]


class Generator(unittest.TestCase):
    def generate(self, lines):
        with tempfile.TemporaryDirectory() as folder:
            source, target = os.path.join(folder, "list.tsv"), os.path.join(folder, "out.xml")
            with open(source, "w", encoding="utf-8", newline="") as out:
                out.write("".join(lines))
            result = subprocess.run([sys.executable, GENERATOR, source, target], capture_output=True, text=True)
            output = open(target, "rb").read() if os.path.exists(target) else None
            return result, output

    def test_writes_every_section_in_order_and_escapes(self):
        lines = ROWS[:2] + [row(1, 1, "R & \"R\" <'n'>")] + ROWS[3:]
        result, output = self.generate(lines)
        self.assertEqual(result.returncode, 0, result.stderr)
        root = ElementTree.fromstring(output)
        self.assertEqual([child.tag for child in root][::7], ["Music", "Kids", "UK", "Argentina"])
        self.assertEqual(root.find("Music")[1].get("name"), "R & \"R\" <'n'>")
        self.assertEqual(root.find("Argentina")[1].attrib, {"name": "S22P1", "description": "D"})
        self.assertEqual(self.generate([line.replace("\n", "\r\n") for line in lines])[1], output)

    def test_rejects_malformed_lists_naming_the_row(self):
        cases = [(ROWS[:3] + [row(2, 1)] + ROWS[4:], "row 4"),
                 (ROWS[:5] + [row(3, 0, columns=5)] + ROWS[6:], "row 6"),
                 ([r for r in ROWS if not r.startswith("7\t")], "section 7"),
                 (ROWS[:1] + ROWS[3:5] + ROWS[1:3] + ROWS[5:], "row 4"),
                 (ROWS + [row(23, 0)], "row 46")]
        for lines, where in cases:
            with self.subTest(where):
                result, output = self.generate(lines)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(where, result.stderr)
                self.assertIsNone(output)


if __name__ == "__main__":
    unittest.main()

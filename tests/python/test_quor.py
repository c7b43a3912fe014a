"""The Python module quor against quor-cli: the same records for the same arguments."""
import json
import os
import subprocess
import unittest

import quor

CLI = os.environ["QUOR_CLI"]


def cli_records(*args):
    out = subprocess.run([CLI, *args, "--format", "json"], capture_output=True, text=True)
    return out.returncode, [json.loads(line) for line in out.stdout.splitlines()]


class QuorModule(unittest.TestCase):
    def test_commands_are_quor_clis(self):
        helped = subprocess.run([CLI, "--help"], capture_output=True, text=True).stdout
        names = [c["name"] for c in quor.commands()]
        self.assertGreaterEqual(len(names), 17)
        for name in names:
            self.assertIn("\n" + name + " ", helped.replace("\n" + name + " -", "\n" + name + " "))
        transformer = next(c for c in quor.commands() if c["name"] == "transformer")
        self.assertEqual(transformer["fields"]["En2"], "1152")
        self.assertIn("k", [v["key"] for v in transformer["values"]])

    def test_run_is_quor_clis_json(self):
        cases = [
            (("transformer", "En2=1000", "CBel=0"), dict(En2=1000, CBel=False)),
            (("spheres", "Edistance=0.25"), dict(Edistance=0.25)),
            (("Emax=2000", "toroid"), dict(Emax=2000)),
            (("partial", "--probe-at", "0.5,0.1", "--probe", "60,140"),
             dict(probe_at="0.5,0.1", probe=["60,140"])),
            (("to-meters", "straight"), None),
            (("transformer", "En2=1000 turns"), dict(En2="1000 turns")),
            (("transformer", "Er1=0", "Es1=0"), dict(Er1=0, Es1=0)),
        ]
        for args, keywords in cases:
            with self.subTest(args=args):
                status, records = cli_records(*args)
                self.assertEqual(len(records), 1)
                if keywords is None:
                    got = quor.run(args[0], *args[1:])
                else:
                    got = quor.run(next(a for a in args if "=" not in a), **keywords)
                self.assertEqual(got, records[0])
                self.assertEqual({0: "ok", 3: "refused", 1: "fault"}[status], got["status"])

    def test_sweep_is_quor_clis_sweep_in_order(self):
        status, records = cli_records("transformer", "Ensm=200", "--sweep", "En2=20:80:4",
                                      "--sweep", "Er2=0.03,0.05")
        self.assertEqual(status, 0)
        for jobs in (1, 2, 3):
            got = quor.sweep("transformer", {"En2": "20:80:4", "Er2": [0.03, 0.05]},
                             Ensm=200, jobs=jobs)
            self.assertEqual(got, records)
        # More turns on the same form: more inductance, in the order swept.
        l2 = [r["values"]["L2"]["value"] for r in records[::2]]
        self.assertEqual(l2, sorted(l2))

    def test_usage_errors_raise(self):
        for call in (lambda: quor.run("nosuch"), lambda: quor.run("transformer", Nope=1),
                     lambda: quor.run("transformer", CBel=2),
                     lambda: quor.sweep("transformer", {"En2": "1:2"}),
                     lambda: quor.run("structure", probe_at="1;2")):
            with self.assertRaises(ValueError):
                call()


if __name__ == "__main__":
    unittest.main()

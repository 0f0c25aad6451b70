"""Validates a JSON document against a JSON Schema: validate.py SCHEMA DOCUMENT."""
import json
import sys

import jsonschema

with open(sys.argv[1], encoding="utf-8") as f:
    schema = json.load(f)
with open(sys.argv[2], encoding="utf-8") as f:
    document = json.load(f)
cls = jsonschema.validators.validator_for(schema)
cls.check_schema(schema)
errors = sorted(cls(schema).iter_errors(document), key=lambda e: list(e.path))
for e in errors:
    print("/".join(str(p) for p in e.path) + ": " + e.message)
sys.exit(1 if errors else 0)

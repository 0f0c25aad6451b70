CREATE TABLE readings (kind TEXT, name TEXT, value TEXT);
INSERT INTO readings VALUES ('note', 'not imported', NULL);
CREATE TABLE "garden facts" (kind TEXT, name TEXT, value TEXT);
INSERT INTO "garden facts" VALUES ('fact', 'dry_soil', NULL), ('fact', 'warm', NULL), ('argument_known', 'depth', '2,5'), ('weather', 'frost', NULL);

-- Veltro demo database: a small shop with customers, products, orders and their lines.
-- Built by scripts/run-demo with the sqlite3 shell; the data is generated, not real.
PRAGMA foreign_keys = ON;

CREATE TABLE regions (
    region_id   INTEGER PRIMARY KEY,
    name        VARCHAR(30) NOT NULL
);

CREATE TABLE customers (
    customer_id INTEGER PRIMARY KEY,
    name        VARCHAR(60) NOT NULL,
    email       VARCHAR(80),
    region_id   INTEGER REFERENCES regions(region_id),
    created_at  DATE NOT NULL
);

CREATE TABLE products (
    product_id  INTEGER PRIMARY KEY,
    name        VARCHAR(60) NOT NULL,
    category    VARCHAR(30) NOT NULL,
    unit_price  DECIMAL(10,2) NOT NULL,
    notes       TEXT
);

CREATE TABLE orders (
    order_id    INTEGER PRIMARY KEY,
    customer_id INTEGER NOT NULL REFERENCES customers(customer_id),
    ordered_at  DATE NOT NULL,
    status      VARCHAR(12) NOT NULL
);

CREATE TABLE order_items (
    order_id    INTEGER NOT NULL REFERENCES orders(order_id),
    line_no     INTEGER NOT NULL,
    product_id  INTEGER NOT NULL REFERENCES products(product_id),
    quantity    INTEGER NOT NULL,
    PRIMARY KEY (order_id, line_no)
);

INSERT INTO regions (region_id, name) VALUES
    (1, 'North'), (2, 'South'), (3, 'East'), (4, 'West'), (5, 'Central');

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 250)
INSERT INTO customers (customer_id, name, email, region_id, created_at)
SELECT i,
       'Customer ' || printf('%03d', i),
       CASE WHEN i % 7 = 0 THEN NULL ELSE 'customer' || i || '@example.com' END,
       1 + i % 5,
       date('2024-01-01', '+' || (i * 3) || ' days')
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)
INSERT INTO products (product_id, name, category, unit_price, notes)
SELECT i,
       CASE i % 4 WHEN 0 THEN 'Widget ' WHEN 1 THEN 'Gadget ' WHEN 2 THEN 'Sprocket '
                  ELSE 'Gizmo ' END || i,
       CASE i % 3 WHEN 0 THEN 'Hardware' WHEN 1 THEN 'Tools' ELSE 'Parts' END,
       round(2.5 + (i * 37 % 400) / 4.0, 2),
       CASE WHEN i % 10 = 0 THEN 'Discontinued after this season.' END
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)
INSERT INTO orders (order_id, customer_id, ordered_at, status)
SELECT i,
       1 + (i * 17) % 250,
       date('2025-01-01', '+' || (i % 365) || ' days'),
       CASE i % 10 WHEN 0 THEN 'cancelled' WHEN 1 THEN 'open' ELSE 'shipped' END
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000)
INSERT INTO order_items (order_id, line_no, product_id, quantity)
SELECT 1 + (i - 1) / 3, 1 + (i - 1) % 3, 1 + (i * 13) % 60, 1 + i % 9
FROM n;

CREATE VIEW order_totals AS
SELECT o.order_id, c.name AS customer, o.ordered_at, o.status,
       SUM(oi.quantity * p.unit_price) AS total
FROM orders o
JOIN customers c ON c.customer_id = o.customer_id
JOIN order_items oi ON oi.order_id = o.order_id
JOIN products p ON p.product_id = oi.product_id
GROUP BY o.order_id, c.name, o.ordered_at, o.status;

CREATE VIEW sales_by_region AS
SELECT r.name AS region, COUNT(DISTINCT o.order_id) AS orders, SUM(t.total) AS revenue
FROM regions r
JOIN customers c ON c.region_id = r.region_id
JOIN orders o ON o.customer_id = c.customer_id
JOIN order_totals t ON t.order_id = o.order_id
WHERE o.status <> 'cancelled'
GROUP BY r.name;

# Roxygen's markdown must have become Rd: no backtick, table rule or [fun()] link left in the text.
test_that("every help page renders without markdown left in its text", {
  db <- tools::Rd_db("irteq")
  expect_gt(length(db), 5)
  for (page in names(db)) {
    text <- utils::capture.output(tools::Rd2txt(db[[page]], options = list(underline_titles = FALSE)))
    expect_false(any(grepl("`|\\|-|\\[[a-z_.]+\\(\\)\\]|-csv", sub("--csv", "", text, fixed = TRUE))), label = page)
  }
})
